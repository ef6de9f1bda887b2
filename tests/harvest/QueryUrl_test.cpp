#include "harvest/QueryUrl.h"

#include "tests/support/TestSupport.h"

#include <cstdio>
#include <sstream>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

// "B9 E3 20" -> the bytes B9 E3 20.
std::string Bytes(std::string_view hex) {
    std::istringstream in{std::string(hex)};
    std::string out;
    unsigned int value = 0;
    while (in >> std::hex >> value) {
        out.push_back(static_cast<char>(value));
    }
    return out;
}

struct KeywordCase {
    const char* line;  // bytes of the keyword line, in hexadecimal
    const char* word;  // the encoded query word of its trimmed line
};

// Keyword lines as they stand in a keyword list and the query words they give.
const KeywordCase kKeywordCases[] = {
    {"B9 E3 D6 DD 20 B7 FE D7 B0 20 B4 AB D5 E6 A3 BA", "%B9%E3%D6%DD+%B7%FE%D7%B0+%B4%AB%D5%E6%A3%BA"},
    {"B9 E3 D6 DD 20 B7 FE D7 B0 20 46 41 58 A3 BA", "%B9%E3%D6%DD+%B7%FE%D7%B0+FAX%A3%BA"},
    {"82 F7 D5 E6 99 43", "%82%F7%D5%E6%99C"},  // a letter as second byte stays a letter
    {"C9 CF BA A3 A1 A1 B5 E7 BB FA 20 46 41 58", "%C9%CF%BA%A3%A1%A1%B5%E7%BB%FA+FAX"},
    {"46 41 58 20 6D 61 63 68 69 6E 65", "FAX+machine"},
    {"20 20 41 2B 42 20 46 61 78 3A 09", "A%2BB+Fax%3A"},
    {"61 2D 62 2E 63 5F 64 7E 65 2A 66", "a%2Db%2Ec%5Fd%7Ee%2Af"},
    {"78 20 79 20 20 7A", "x+y++z"},
    {"31 30 30 25", "100%25"},
    {"61 09 62", "a%09b"},
    {"09 20 0D 0A", ""},
    {"A1 A1 41 A1 A1", "%A1%A1A%A1%A1"},  // full-width spaces at the ends stay
    {"00 1F 01 41 7F 20 00", "A%7F"},     // every byte up to 0x20 is trimmed, 0x7F is not
    {"80 41 0D 0A 80", "%80A%0D%0A%80"},  // bytes inside are never trimmed
    {"", ""},
};

TEST(QueryUrl, KeywordLinesGiveTheirQueryWords) {
    const std::string prefix = "http://www.baidu.com/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=";
    for (const auto& c : kKeywordCases) {
        EXPECT_EQ(BuildQueryBase(Bytes(c.line), kDefaultSearchHost), prefix + c.word + "&pn=") << c.line;
    }
}

TEST(QueryUrl, EncoderMapsEveryByteAndTrimsNothing) {
    for (int b = 0; b < 256; ++b) {
        const std::string encoded = UrlEncodeKeyword(std::string(1, static_cast<char>(b)));
        const bool alnum = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        if (b == ' ') {
            EXPECT_EQ(encoded, "+");
        } else if (alnum) {
            EXPECT_EQ(encoded, std::string(1, static_cast<char>(b)));
        } else {
            char expected[4];
            std::snprintf(expected, sizeof expected, "%%%02X", static_cast<unsigned int>(b));
            EXPECT_EQ(encoded, expected) << b;  // capital hexadecimal digits
        }
    }
    EXPECT_EQ(UrlEncodeKeyword(Bytes("09 20 0D 0A")), "%09+%0D%0A");
    EXPECT_EQ(UrlEncodeKeyword(Bytes("B4 7F 80")), "%B4%7F%80");
    EXPECT_EQ(UrlEncodeKeyword(""), "");
}

TEST(QueryUrl, TrimmingRemovesOnlyBytesUpToSpace) {
    EXPECT_EQ(TrimKeywordLine(Bytes("20 09 41 20 42 0D 0A")), "A B");
    EXPECT_EQ(TrimKeywordLine(Bytes("A1 A1 41 A1 A1")), Bytes("A1 A1 41 A1 A1"));
    EXPECT_EQ(TrimKeywordLine(Bytes("01 02 1F 20")), "");
    EXPECT_EQ(TrimKeywordLine(Bytes("21 7F")), Bytes("21 7F"));
}

TEST(QueryUrl, PagesOfTheFirstKeyword) {
    // The line as it comes from a keyword list written by the builder.
    const std::string base = BuildQueryBase(test::G("广州 服装 传真：") + "\r\n", kDefaultSearchHost);
    const std::string path = "/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=%B9%E3%D6%DD+%B7%FE%D7%B0+%B4%AB%D5%E6%A3%BA";
    EXPECT_EQ(BuildPageUrl(base, 0), "http://www.baidu.com" + path + "&pn=0&cl=3");
    EXPECT_EQ(BuildPageUrl(base, 10), "http://www.baidu.com" + path + "&pn=10&cl=3");
    EXPECT_EQ(BuildPageUrl(base, 20), "http://www.baidu.com" + path + "&pn=20&cl=3");
    EXPECT_EQ(BuildPageUrl(base, 750), "http://www.baidu.com" + path + "&pn=750&cl=3");
}

TEST(QueryUrl, BlankLineAndOtherHost) {
    EXPECT_EQ(BuildPageUrl(BuildQueryBase(" \t\r\n", kDefaultSearchHost), 0),
              "http://www.baidu.com/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=&pn=0&cl=3");
    EXPECT_EQ(BuildPageUrl(BuildQueryBase("fax", "127.0.0.1:8080"), 10),
              "http://127.0.0.1:8080/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=fax&pn=10&cl=3");
}

TEST(QueryUrl, AKeywordCannotChangeTheHostThePathOrTheQueryKeys) {
    const std::string hostile[] = {
        "/../../etc/passwd",
        "x&pn=9999&cl=3#",
        "?word=other",
        "@evil.example:80/",
        "http://evil.example/",
        "a\r\nHost: evil.example\r\n\r\nb",
        std::string("a\0b", 3),
        "%2F%3F%23",
        test::G("传真：") + "=&=",
    };
    const std::string prefix = "http://www.baidu.com/baidu?";
    for (const auto& line : hostile) {
        const std::string url = BuildPageUrl(BuildQueryBase(line, kDefaultSearchHost), 30);
        ASSERT_EQ(url.compare(0, prefix.size(), prefix), 0) << url;
        // The query is the fixed keys in their order, the word among them.
        std::string keys;
        std::size_t pos = prefix.size();
        while (pos <= url.size()) {
            const std::size_t amp = std::min(url.find('&', pos), url.size());
            const std::string field = url.substr(pos, amp - pos);
            keys += field.substr(0, field.find('=')) + ",";
            pos = amp + 1;
        }
        EXPECT_EQ(keys, "lm,si,rn,ie,ct,word,pn,cl,") << url;
        EXPECT_EQ(url.find_first_of("#/?", prefix.size()), std::string::npos) << url;
        EXPECT_TRUE(url.ends_with("&pn=30&cl=3")) << url;
        for (const char c : url) {
            EXPECT_TRUE(c > 0x20 && c < 0x7F) << url;
        }
    }
}

}  // namespace
}  // namespace tavrisk
