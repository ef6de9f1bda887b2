#include "harvest/PageLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrisk {
namespace {

using Lines = std::vector<std::string>;

TEST(PageLines, CutsTheTextAsTheTextControlDoes) {
    struct Case {
        const char* name;
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"empty text", "", {}},
        {"one line", "abc", {"abc"}},
        {"a line end at the end adds no line", "a\r\nb\r\n", {"a", "b"}},
        {"empty lines in between count", "a\r\n\r\n\r\nb", {"a", "", "", "b"}},
        {"only a line end", "\r\n", {""}},
        {"two line ends", "\r\n\r\n", {"", ""}},
        {"a lone LF or CR stays in the line", "a\nb\rc\r\nd", {"a\nb\rc", "d"}},
        {"CR CR LF", "a\r\r\nb", {"a\r", "b"}},
        {"a 0x00 byte ends the text", std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
        {"a long line keeps its first 4096 bytes", std::string(5000, 'x') + "\r\ny", {std::string(4096, 'x'), "y"}},
        {"a line of exactly 4096 bytes", std::string(4096, 'x'), {std::string(4096, 'x')}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SplitPageLines(c.text), c.lines);
    }
}

}  // namespace
}  // namespace tavrisk
