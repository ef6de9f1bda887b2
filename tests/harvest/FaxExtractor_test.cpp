#include "harvest/FaxExtractor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "harvest/Substitution.h"

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
    // A rewrite can form a match for a later row in front of where it worked:
    // the first rewrite leaves "(Fax)：", which the second still turns into "Fax：".
    {"((Fax) )：0571-12345678", "0571-12345678"},
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

// The line rule done the plain way: every rewrite over the whole line, one
// after the other, with no shortcut. The extractor skips work it can prove
// useless; on any line it must agree with this.
std::string PlainNumberOfLine(std::string line) {
    static const std::vector<std::pair<std::string, std::string>> rows = {
        {"(Fax) ", "Fax"},     {"(Fax)", "Fax"},         {G("（FAX）"), "Fax"},     {";", ":"},
        {"  ", " "},           {G("传真： "), "FAX:"},   {G("传真："), "FAX:"},     {G("传真: "), "FAX:"},
        {G("传真:"), "FAX:"},  {G("传真 "), "FAX:"},     {G("传真号码："), "FAX:"}, {G("传真至："), "FAX:"},
        {G("FAX： "), "FAX:"}, {G("FAX："), "FAX:"},     {"FAX: ", "FAX:"},         {"FAX:", "FAX:"},
        {"FAX ", "FAX:"},      {G("FAX号码："), "FAX:"}, {G("FAX至："), "FAX:"},    {" ", ""},
    };
    for (const auto& [pattern, replacement] : rows) {
        line = ReplaceAll(line, pattern, replacement);
    }
    const std::size_t marker = line.find("FAX:");
    if (marker == std::string::npos) {
        return "";
    }
    const std::string tail = line.substr(marker + 4, 255);
    std::string value = tail.substr(0, tail.find_first_not_of("0123456789(-+)"));
    for (const auto& [pattern, replacement] : std::vector<std::pair<std::string, std::string>>{
             {"(", "-"}, {")", "-"}, {"+", ""}, {"--", "-"}, {"--", "-"}}) {
        value = ReplaceAll(value, pattern, replacement);
    }
    for (const std::string prefix : {"-", "0086-", "0086", "086-", "086", "86-", "86"}) {
        if (value.starts_with(prefix)) {
            value.erase(0, prefix.size());
        }
    }
    if (!value.starts_with('0')) {
        std::string withZero(1, '0');
        withZero += value;
        value.swap(withZero);
    }
    if (value.ends_with('-')) {
        value.pop_back();
    }
    if (value.size() <= 10 || value.size() >= 30) {
        return "";
    }
    value.resize(std::min<std::size_t>(value.size(), 13));
    if (value.ends_with('-')) {
        value.pop_back();
    }
    return value;
}

TEST(FaxExtractorTest, AgreesWithThePlainRuleOnRandomLines) {
    // Pieces that the rewrites react to, mixed at random.
    const std::vector<std::string> pieces = {
        "(",     ")", "Fax",     "fax",   "FAX",   "F",     "A",     "X",      "x",       "a",     " ",       "  ",
        ":",     ";", "-",       "+",     "86",    "0",     "0571",  "123456", "No.",     "\t",    G("传真"), G("传"),
        G("："), " ", G("号码"), G("至"), G("（"), G("）"), G("旻"), G("昮"),  G("电话"), G("，"), "\xB4",
    };
    const std::vector<std::string> labels = {
        G("传真："), G("传真 "),   G("传真号码："), "Fax: ", "fAx ",    G("FAX："), "fax;", "(Fax) ",
        "(Fax)",     G("（FAX）"), "F A X:",        "FAX",   G("传真"), ":",        " ",    G("：")};
    const std::vector<std::string> digits = {"0571", "12345678", "021", "86", "0086", "0", "-",
                                             "--",   "+",        "(",   ")",  " ",    "9"};
    std::mt19937 random(2026);
    const auto add = [&random](std::string& line, const std::vector<std::string>& from, unsigned most) {
        for (unsigned i = random() % (most + 1); i > 0; --i) {
            line += from[random() % from.size()];
        }
    };
    FaxExtractor extractor;
    int numbers = 0;
    for (int round = 0; round < 30000; ++round) {
        // Text, something like a label, something like a number, text.
        std::string line;
        add(line, pieces, 3);
        add(line, pieces, 2);
        add(line, labels, 3);
        add(line, digits, 8);
        add(line, pieces, 2);
        const std::string expected = PlainNumberOfLine(line);
        ASSERT_EQ(std::string(extractor.NumberOfLine(line)), expected) << ::testing::PrintToString(line);
        numbers += expected.empty() ? 0 : 1;
    }
    EXPECT_GT(numbers, 1000);  // the pieces do make numbers, so both paths were exercised
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
