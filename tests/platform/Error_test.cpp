#include "platform/Error.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

using test::G;

struct DotCase {
    std::string message;
    std::string expected;
};

TEST(ErrorBoxText, AppendsDotWhenLastCharacterSortsAfterDot) {
    const DotCase cases[] = {
        {"Cannot open file x.txt", "Cannot open file x.txt."},
        {"File not found", "File not found."},
        {G("请先导入关键字列表文件"), G("请先导入关键字列表文件") + "."},
        {"ends with dot.", "ends with dot."},
        {"ends with dash-", "ends with dash-"},  // '-' < '.'
        {"count 9", "count 9."},                 // '9' > '.'
        {"slash/", "slash/."},                   // '/' is 0x2F
        {"", ""},
        // The last character is the two-byte "！" (A3 A1): its lead byte decides.
        {G("完毕！"), G("完毕！") + "."},
        // A trail byte below "." must not be read as a character of its own:
        // "\x81\x2D" is one character whose lead byte 0x81 sorts after ".".
        {std::string("a\x81\x2D"), std::string("a\x81\x2D.")},
        // A lone lead byte at the very end counts as a character of its own.
        {std::string("a\x81"), std::string("a\x81.")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorBoxText(c.message), c.expected) << c.message;
    }
}

TEST(FormatMessage, ReplacesFirstDirectiveOnly) {
    EXPECT_EQ(FormatMessage("Cannot open file %s", "/a b"), "Cannot open file /a b");
    EXPECT_EQ(FormatMessage("I/O error %d", "28"), "I/O error 28");
    EXPECT_EQ(FormatMessage("'%s' is not a valid integer value", "%s"), "'%s' is not a valid integer value");
    EXPECT_EQ(FormatMessage("no directive", "x"), "no directive");
}

TEST(SystemError, CarriesGbkMessage) {
    try {
        throw SystemError(G("搜索已经结束！"));
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Message(), G("搜索已经结束！"));
    }
}

}  // namespace
}  // namespace tavrisk
