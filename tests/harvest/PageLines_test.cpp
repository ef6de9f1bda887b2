#include "harvest/PageLines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "harvest/FaxExtractor.h"
#include "tests/support/TestSupport.h"

namespace tavrisk {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;

struct CutCase {
    std::string text;
    Lines lines;
};

TEST(PageLinesTest, CutsAtCrLfOnly) {
    const CutCase cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"\r\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        // A lone CR or LF stays inside its line.
        {"a\nb\rc\r\nd", {"a\nb\rc", "d"}},
        {"a\r\r\n", {"a\r"}},
        {"a\n\r\n", {"a\n"}},
        {"a\r", {"a\r"}},
    };
    for (const CutCase& c : cases) {
        EXPECT_EQ(CutPageLines(c.text), c.lines) << "text: " << ::testing::PrintToString(c.text);
    }
}

TEST(PageLinesTest, ReadsOnlyTheFirst4096BytesOfALine) {
    const std::string exact(4096, 'a');
    const std::string longer = std::string(4096, 'b') + "tail";
    const auto lines = CutPageLines(exact + "\r\n" + longer + "\r\nnext");
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[0], exact);
    EXPECT_EQ(lines[1], std::string(4096, 'b'));
    EXPECT_EQ(lines[2], "next");
}

TEST(PageLinesTest, LineFeedsBecomeCrLf) {
    EXPECT_EQ(LineFeedsToCrLf(""), "");
    EXPECT_EQ(LineFeedsToCrLf("a\nb\r\nc\rd\n"), "a\r\nb\r\nc\rd\r\n");
    EXPECT_EQ(LineFeedsToCrLf("\n\n"), "\r\n\r\n");
    EXPECT_EQ(LineFeedsToCrLf("\r\r\n"), "\r\r\n");
}

class Collect : public PageLineReceiver {
public:
    void OnLine(std::string_view line) override { lines.emplace_back(line); }
    Lines lines;
};

// Feeds text to a stream in blocks of the given size.
Lines Stream(std::string_view text, std::size_t blockSize, PageLineStream::Lines which) {
    PageLineStream stream(which);
    Collect collect;
    for (std::size_t at = 0; at < text.size(); at += blockSize) {
        stream.Feed(text.substr(at, blockSize), collect);
    }
    stream.Finish(collect);
    return collect.lines;
}

Lines Expected(std::string_view text, bool onlyLabels) {
    Lines lines = CutPageLines(LineFeedsToCrLf(text));
    if (onlyLabels) {
        std::erase_if(lines, [](const std::string& line) { return !MayHoldFaxLabel(line); });
    }
    return lines;
}

TEST(PageLinesTest, StreamGivesTheLinesOfTheNormalisedTextWhateverTheBlocks) {
    const std::string chuanZhen = test::G("传真");
    const std::string texts[] = {
        "",
        "a",
        "a\n",
        "\n",
        "a\r\nb\nc\rd",
        "a\r\r\n\r\n\n",
        "x\n" + chuanZhen + "\nfoo\nbar X\n\xB4\xAB\xD5\n\xB4" + chuanZhen,
        std::string(5000, 'y') + "\r\nfax" + std::string(5000, 'z') + "\r",
        std::string(4096, 'q') + "X\n" + std::string(4095, 'q') + "\r\n" + std::string(4096, 'q') + "\r\n",
    };
    for (const std::string& text : texts) {
        for (const std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{16},
                                        std::size_t{17}, std::size_t{4097}, std::size_t{1} << 20}) {
            EXPECT_EQ(Stream(text, block, PageLineStream::Lines::All), Expected(text, false))
                << "block " << block << " text " << ::testing::PrintToString(text.substr(0, 40));
            EXPECT_EQ(Stream(text, block, PageLineStream::Lines::MayHoldFaxLabel), Expected(text, true))
                << "block " << block << " text " << ::testing::PrintToString(text.substr(0, 40));
        }
    }
}

TEST(PageLinesTest, StreamAgreesWithTheCutOnRandomText) {
    // Bytes drawn from those that matter: breaks, label bytes, GBK bytes, filler.
    const std::string alphabet = std::string("\r\n\r\nxXa ") + "\xB4\xAB\xD5\xE6\xB4\xC4";
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const std::size_t length = random() % (round < 250 ? 200 : 9000);
        for (std::size_t i = 0; i < length; ++i) {
            text.push_back(round >= 250 && random() % 50 != 0 ? 'a' : alphabet[random() % alphabet.size()]);
        }
        const std::size_t block = 1 + random() % 200;
        ASSERT_EQ(Stream(text, block, PageLineStream::Lines::All), Expected(text, false)) << round;
        ASSERT_EQ(Stream(text, block, PageLineStream::Lines::MayHoldFaxLabel), Expected(text, true)) << round;
    }
}

TEST(PageLinesTest, StreamCanBeReusedAfterFinish) {
    PageLineStream stream;
    Collect collect;
    stream.Feed("a\nb", collect);
    stream.Finish(collect);
    stream.Feed("c", collect);
    stream.Finish(collect);
    EXPECT_THAT(collect.lines, ElementsAre("a", "b", "c"));
    Collect none;
    stream.Finish(none);
    EXPECT_THAT(none.lines, IsEmpty());
}

}  // namespace
}  // namespace tavrisk
