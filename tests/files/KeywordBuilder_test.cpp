#include "files/KeywordBuilder.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

using test::G;
using Lines = std::vector<std::string>;

// What Create makes from the texts of the two product and marker areas.
std::string Create(std::string_view products, std::string_view markers) {
    return CombineKeywords(TextLines(products), TextLines(markers));
}

TEST(KeywordBuilder, StartUpContentsGiveTheEightLinesInOrder) {
    const std::string products = G("广州 服装\r\n广州 服饰\r\n广州 制衣\r\n广州 时装");
    const std::string markers = G("传真：\r\nFAX：");
    EXPECT_EQ(Create(products, markers), G("广州 服装 传真：\r\n"
                                           "广州 服装 FAX：\r\n"
                                           "广州 服饰 传真：\r\n"
                                           "广州 服饰 FAX：\r\n"
                                           "广州 制衣 传真：\r\n"
                                           "广州 制衣 FAX：\r\n"
                                           "广州 时装 传真：\r\n"
                                           "广州 时装 FAX：\r\n"));
    // The full-width colon stays the two GBK bytes A3 BA after the ASCII letters.
    EXPECT_EQ(G("FAX："), "FAX\xA3\xBA");
}

TEST(KeywordBuilder, TextLinesFollowTheTextAreaRules) {
    struct Case {
        const char* name;
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"empty text has no line", "", {}},
        {"last line without a break", "a\r\nb", {"a", "b"}},
        {"final break adds no empty line", "a\r\nb\r\n", {"a", "b"}},
        {"two final breaks leave one empty line", "a\r\n\r\n", {"a", ""}},
        {"a lone break is one empty line", "\r\n", {""}},
        {"empty line inside counts", "a\r\n\r\nb", {"a", "", "b"}},
        {"LF alone breaks too", "a\nb\n", {"a", "b"}},
        {"nothing trimmed", " a \t\r\n  ", {" a \t", "  "}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextLines(c.text), c.lines) << c.name;
    }
}

TEST(KeywordBuilder, CombinesWholeLinesWithEmptyLinesTakingPart) {
    struct Case {
        const char* name;
        std::string products;
        std::string markers;
        std::string result;
    };
    const Case cases[] = {
        {"no markers", "a\r\nb", "", ""},
        {"no products", "", "m\r\nn", ""},
        {"only a final break in the markers", "a", "\r\n", "a \r\n"},
        {"empty product line inside", "a\r\n\r\nb", "m", "a m\r\n m\r\nb m\r\n"},
        {"one final break adds nothing", "a\r\n", "m\r\nn", "a m\r\na n\r\n"},
        {"two final breaks add an empty product", "a\r\n\r\n", "m", "a m\r\n m\r\n"},
        {"spaces kept on both sides", " a ", " m ", " a   m \r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Create(c.products, c.markers), c.result) << c.name;
    }
    EXPECT_EQ(Create(G("广州 服装\r\n\r\n广州 时装"), G("传真：")),
              G("广州 服装 传真：\r\n 传真：\r\n广州 时装 传真：\r\n"));
}

}  // namespace
}  // namespace tavrisk
