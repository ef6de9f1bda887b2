#include "platform/TextCodec.h"

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

TEST(TextCodec, RoundTripsChineseAndAscii) {
    const std::string utf8 = "广州 服装 传真：FAX 0571-2222222";
    const std::string gbk = ToGbk(utf8);
    EXPECT_EQ(gbk.substr(0, 4), "\xB9\xE3\xD6\xDD");  // 广州
    EXPECT_EQ(FromGbk(gbk), utf8);
}

TEST(TextCodec, UnmappableCharactersBecomeQuestionMarks) {
    struct Case {
        std::string utf8;
        std::string gbk;
    };
    const Case cases[] = {
        {"a\xF0\x9F\x98\x80"
         "b",
         "a?b"},            // an emoji has no GBK form
        {"\xD7\x90", "?"},  // Hebrew alef
        {"x\xFFy", "x?y"},  // not UTF-8 at all
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToGbk(c.utf8), c.gbk) << c.utf8;
    }
}

TEST(TextCodec, BrokenGbkDoesNotSwallowLineEnds) {
    EXPECT_EQ(FromGbk("a\x81\nb"), "a?\nb");
    EXPECT_EQ(FromGbk("\xB9"), "?");
}

}  // namespace
}  // namespace tavrisk
