#include "harvest/FaxExtractor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace tavrisk {
namespace {

using test::G;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CollectNumbers : public NumberSink {
public:
    void AppendNumber(const std::string& number) override { numbers.push_back(number); }
    std::vector<std::string> numbers;
};

struct LineCase {
    const char* line;    // UTF-8, converted to GBK
    const char* number;  // "" when the line yields nothing
};

// Each line on its own, with an empty memory.
const LineCase kLineCases[] = {
    {"传真：0571-12345678", "0571-12345678"},
    {"传真: 0571-12345678", "0571-12345678"},
    {"传真号码：0571-12345678", "0571-12345678"},
    {"传真至：0571-12345678", "0571-12345678"},
    {"传真号：0571-12345678", ""},
    {"电话/传真：0571-12345678", "0571-12345678"},
    {"Tel: 0571-11111111 Fax: 0571-12345678", "0571-12345678"},
    {"fAx 0571-12345678", "0571-12345678"},
    {"fax;0571-12345678", "0571-12345678"},
    {"FAX : 0571-12345678", ""},
    {"传真 ：0571-12345678", ""},
    {"Fax No.: 0571-12345678", ""},
    {"(Fax) 021 1234 5678", ""},
    {"(Fax)  021 1234 5678", "02112345678"},
    {"(Fax): 021-12345678", "021-12345678"},
    {"（FAX）021-12345678", ""},
    {"（FAX）：021-12345678", "021-12345678"},
    {"传真 0571 1234 5678", "057112345678"},
    {"传真：0086-21-12345678", "021-12345678"},
    {"FAX：+86(21)12345678", "021-12345678"},
    {"传真：(0571)12345678", "0571-12345678"},
    {"传真：+86 571 1234 5678", "057112345678"},
    {"传真：86086-21-12345678", "086-21-123456"},
    {"传真：0086-0086-21-1234567", "0-21-1234567"},
    {"传真：021---12345678", "021-12345678"},
    {"传真：021-----12345678", "021--12345678"},
    {"传真：13912345678", "013912345678"},
    {"传真：12345678", ""},
    {"传真：8612345678", ""},
    {"传真：0571-1234-5678", "0571-1234-567"},
    {"传真：0571-1234567-8001", "0571-1234567"},
    {"传真：1234567890123456789012345678", "0123456789012"},
    {"传真：12345678901234567890123456789", ""},
    {"传真：0211234567-----", "0211234567"},
    {"传真：0571-12345678，0571-12345679", "0571-12345678"},
    {"传真:021-12345678;021-87654321", "021-12345678"},
    {"传真：0571－12345678", ""},
    {"传真：（0571）12345678", ""},
    {"传真：", ""},
    {"FAX:abc FAX:0571-12345678", ""},
    {"FAX:0571-12345678 FAX:0571-87654321", "0571-12345678"},
    {"旻AX:0571-12345678", "0571-12345678"},
    {"昮ax:0571-12345678", ""},
    // The traced line: the first number has no label; "+86(21)" is cleaned.
    {"电话: 0571-11111111 传真：+86(21)1234 5678", "021-12345678"},
    // Labels inside longer words, tabs and full-width spaces.
    {"TELEFAX:0571-12345678", "0571-12345678"},
    {"传真：\t0571-12345678", ""},
    {"传真：　0571-12345678", ""},
    // Spaces go last: letters they kept apart join into a marker, but only
    // an upper-case one, since the case was settled before.
    {"F A X:0571-12345678", "0571-12345678"},
    {"f a x:0571-12345678", ""},
    {"", ""},
};

TEST(FaxExtractorTest, EveryLineOfTheTableYieldsItsNumber) {
    FaxExtractor extractor;
    for (const LineCase& c : kLineCases) {
        const std::string line = G(c.line);
        EXPECT_EQ(std::string(extractor.NumberOfLine(line)), c.number) << "line: " << c.line;

        // The same line through the whole rule, on a fresh memory and sink.
        SeenNumbers seen;
        CollectNumbers sink;
        const std::vector<std::string> page{line};
        const std::size_t appended = ExtractFaxNumbers(page, seen, false, sink);
        if (*c.number == '\0') {
            EXPECT_EQ(appended, 0U) << "line: " << c.line;
            EXPECT_THAT(sink.numbers, IsEmpty()) << "line: " << c.line;
        } else {
            EXPECT_EQ(appended, 1U) << "line: " << c.line;
            EXPECT_THAT(sink.numbers, ElementsAre(c.number)) << "line: " << c.line;
        }
    }
}

TEST(FaxExtractorTest, MarkerFoundInsideATwoByteCharacterIsStillAMarker) {
    // The rewriting never starts a match on a second byte, but the marker search does.
    EXPECT_EQ(G("旻AX:"), std::string("\x95\x46\x41X:"));
    EXPECT_EQ(G("昮ax:"), std::string("\x95\x66\x61x:"));
}

TEST(FaxExtractorTest, OnlyTheFirst255BytesBehindTheMarkerAreRead) {
    FaxExtractor extractor;
    // Plus signs are run bytes that cleaning removes, so they push the number
    // towards the end of the tail without making it longer.
    const auto line = [](std::size_t pluses) { return "FAX:" + std::string(pluses, '+') + "0571-12345678"; };
    EXPECT_EQ(std::string(extractor.NumberOfLine(line(242))), "0571-12345678");  // 255 bytes: all of it
    EXPECT_EQ(std::string(extractor.NumberOfLine(line(243))), "0571-1234567");   // the last digit is cut off
    EXPECT_EQ(std::string(extractor.NumberOfLine(line(246))), "");               // 9 bytes left: too short

    // A digit row longer than the tail is read as 255 digits: too long.
    EXPECT_EQ(std::string(extractor.NumberOfLine("FAX:" + std::string(300, '5'))), "");
    EXPECT_EQ(std::string(extractor.NumberOfLine("FAX:" + std::string(20, '5'))), "0555555555555");
}

TEST(FaxExtractorTest, LinesWithoutAnyLabelByteAreRejectedCheaply) {
    EXPECT_FALSE(MayHoldFaxLabel(G("电话：0571-12345678 地址：杭州")));
    EXPECT_FALSE(MayHoldFaxLabel(""));
    EXPECT_TRUE(MayHoldFaxLabel(G("传真")));
    EXPECT_TRUE(MayHoldFaxLabel("fax"));
    EXPECT_TRUE(MayHoldFaxLabel("a  X"));
    EXPECT_FALSE(MayHoldFaxLabel("X"));
    EXPECT_FALSE(MayHoldFaxLabel("www.xinxi.com.cn"));
    EXPECT_FALSE(MayHoldFaxLabel("a.x"));
    EXPECT_FALSE(MayHoldFaxLabel(G("传")));
    // Every line of the table that yields a number passes the test.
    for (const LineCase& c : kLineCases) {
        if (*c.number != '\0') {
            EXPECT_TRUE(MayHoldFaxLabel(G(c.line))) << c.line;
        }
    }
}

// --- the memory and the count -------------------------------------------------

TEST(FaxExtractorTest, EmptyPageAppendsNothing) {
    SeenNumbers seen;
    CollectNumbers sink;
    EXPECT_EQ(ExtractFaxNumbers({}, seen, true, sink), 0U);
    EXPECT_THAT(sink.numbers, IsEmpty());
    EXPECT_EQ(seen.Count(), 0U);
}

TEST(FaxExtractorTest, SameNumberTwiceOnAPageDependsOnTheSwitch) {
    const std::vector<std::string> page{G("传真：0571-12345678"), G("公司简介"), G("FAX: 0571-12345678")};
    {
        SeenNumbers seen;
        CollectNumbers sink;
        EXPECT_EQ(ExtractFaxNumbers(page, seen, true, sink), 1U);
        EXPECT_THAT(sink.numbers, ElementsAre("0571-12345678"));
        EXPECT_EQ(seen.Count(), 1U);
    }
    {
        SeenNumbers seen;
        CollectNumbers sink;
        EXPECT_EQ(ExtractFaxNumbers(page, seen, false, sink), 2U);
        EXPECT_THAT(sink.numbers, ElementsAre("0571-12345678", "0571-12345678"));
        EXPECT_EQ(seen.Count(), 0U);
    }
}

TEST(FaxExtractorTest, NumbersWithAndWithoutHyphenAreDifferent) {
    SeenNumbers seen;
    CollectNumbers sink;
    const std::vector<std::string> page{G("传真：021-12345678"), G("传真：02112345678")};
    EXPECT_EQ(ExtractFaxNumbers(page, seen, true, sink), 2U);
    EXPECT_THAT(sink.numbers, ElementsAre("021-12345678", "02112345678"));
}

TEST(FaxExtractorTest, LabelAndNumberOnSeparateLinesYieldNothing) {
    SeenNumbers seen;
    CollectNumbers sink;
    const std::vector<std::string> page{G("传真："), "0571-12345678"};
    EXPECT_EQ(ExtractFaxNumbers(page, seen, true, sink), 0U);
}

TEST(FaxExtractorTest, RecordedNumbersStaySuppressedAcrossPagesAndAfterTheSwitchIsOff) {
    SeenNumbers seen;
    CollectNumbers sink;
    const std::vector<std::string> first{G("传真：0571-12345678")};
    const std::vector<std::string> other{G("传真：0571-87654321")};

    EXPECT_EQ(ExtractFaxNumbers(first, seen, true, sink), 1U);
    // A later page (or a later run): the recorded number is known, switch on or off.
    EXPECT_EQ(ExtractFaxNumbers(first, seen, true, sink), 0U);
    EXPECT_EQ(ExtractFaxNumbers(first, seen, false, sink), 0U);

    // Appended while the switch is off: not recorded, so it comes again...
    EXPECT_EQ(ExtractFaxNumbers(other, seen, false, sink), 1U);
    EXPECT_EQ(ExtractFaxNumbers(other, seen, false, sink), 1U);
    // ...and is recorded once the switch is on again.
    EXPECT_EQ(ExtractFaxNumbers(other, seen, true, sink), 1U);
    EXPECT_EQ(ExtractFaxNumbers(other, seen, true, sink), 0U);

    EXPECT_THAT(sink.numbers, ElementsAre("0571-12345678", "0571-87654321", "0571-87654321", "0571-87654321"));
    EXPECT_EQ(seen.Count(), 2U);
    EXPECT_EQ(seen.Item(0), "0571-12345678");
    EXPECT_EQ(seen.Item(1), "0571-87654321");
}

TEST(FaxExtractorTest, SwitchIsAskedForEveryNewNumber) {
    SeenNumbers seen;
    CollectNumbers sink;
    // The switch turns on after the first number: the change counts from the next one.
    int asked = 0;
    const RecordSwitch record = [&asked] { return ++asked > 1; };
    const std::vector<std::string> page{G("传真：0571-11111111"), G("传真：0571-11111111"), G("传真：0571-22222222"),
                                        G("传真：0571-22222222"), G("没有号码")};
    EXPECT_EQ(ExtractFaxNumbers(page, seen, record, sink), 3U);
    EXPECT_THAT(sink.numbers, ElementsAre("0571-11111111", "0571-11111111", "0571-22222222"));
    EXPECT_EQ(asked, 3);  // once per new number, not for known numbers or empty lines
}

}  // namespace
}  // namespace tavrisk
