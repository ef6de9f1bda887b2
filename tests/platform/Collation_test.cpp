#include "platform/Collation.h"

#include "platform/StringList.h"

#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

using test::G;

int Sign(int v) {
    return (v > 0) - (v < 0);
}

struct Pair {
    std::string lower;
    std::string higher;
};

// Each pair in ascending order; the comparison must say so both ways round,
// and the keys must never contradict it.
TEST(Collation, OrdersThePairs) {
    const Pair pairs[] = {
        {"", "-"},  // the empty line comes first
        {"", "'"},
        {"", " "},
        {"-", "0"},                       // a hyphen alone weighs less than a digit
        {"0101-2222222", "010-3333333"},  // hyphens left out at first
        {"0571-1234567", "05711234567"},  // ... then they break the tie
        {"0-571", "05-71"},               // an earlier hyphen sorts first
        {"ab", "ab-"},                    // a string that ends first sorts first
        {"a'b", "a-b"},                   // apostrophe before hyphen
        {"a-b", "ab"},
        {"co-op", "cop"},
        {"10", "9"},  // digits one character at a time
        {"019", "02"},
        {"abc", "ABD"},  // case ignored
        {"ABC", "abd"},
        {"Z", "\xA1\xA1"},  // letters before any non-ASCII
        {"\t", " "},        // control bytes before signs
        {"\x1F", "\x7F"},
        {"\x7F", " "},
        {" ", "!"},  // signs in byte order
        {"/", ":"},
        {"@", "["},
        {"_", "`"},
        {"{", "~"},
        {"~", "0"},          // signs before digits
        {"9", "a"},          // digits before letters
        {"a b", "ab"},       // a space is a real difference
        {G("啊"), G("吧")},  // GB2312 level 1 in pinyin order
        {G("北京"), G("上海")},
        {"\x81", "\x81\x40"},  // a stray lead byte before its characters
        {"\x80", "\x81"},
        {"\x81\x41", "\x81\x61"},  // trail bytes are not letters
        {"\xFE\xFE", "\xFF"},
    };
    for (const auto& p : pairs) {
        SCOPED_TRACE("'" + p.lower + "' < '" + p.higher + "'");
        EXPECT_LT(Collate(p.lower, p.higher), 0);
        EXPECT_GT(Collate(p.higher, p.lower), 0);
        EXPECT_LE(CollationKey(p.lower), CollationKey(p.higher));
    }
}

TEST(Collation, EqualOnlyWhenNothingButLetterCaseDiffers) {
    const Pair equal[] = {{"", ""}, {"ABC", "abc"}, {"a-B'c", "A-b'C"}, {"0571-1234567", "0571-1234567"}};
    for (const auto& p : equal) {
        EXPECT_EQ(Collate(p.lower, p.higher), 0) << p.lower << " / " << p.higher;
    }
    const Pair different[] = {{"0571-1234567", "05711234567"}, {"a-b", "a'b"}, {"-", ""}, {"--", "-"},
                              {"\x81\x41", "\x81\x61"},        {"a", "a "}};
    for (const auto& p : different) {
        EXPECT_NE(Collate(p.lower, p.higher), 0) << p.lower << " / " << p.higher;
    }
}

// As the string list's comparison, Find takes the first entry that differs
// only in letter case, never one that differs in a hyphen.
TEST(Collation, ServesTheStringListFind) {
    StringList list(Collate);
    list.LoadFromText("0571-1234567\r\nabc\r\nABC\r\n");
    EXPECT_EQ(list.Find("aBc"), 1U);
    EXPECT_EQ(list.Find("0571-1234567"), 0U);
    EXPECT_EQ(list.Find("05711234567"), std::nullopt);
}

// Every string of up to three pieces from a small alphabet that exercises
// each rule: the comparison must be a total order (antisymmetric, equal
// exactly when the case-folded bytes are equal, transitive) and the key must
// agree with it.
TEST(Collation, IsATotalOrderOverAGeneratedSet) {
    const std::vector<std::string> pieces = {"-", "'", "0", "1",        "9",    "a",       "A",
                                             "b", " ", "~", "\x81\x40", "\x81", "\xB0\xA1"};
    std::vector<std::string> all = {""};
    std::size_t from = 0;
    for (int length = 1; length <= 3; ++length) {
        const std::size_t to = all.size();
        for (std::size_t i = from; i < to; ++i) {
            for (const auto& p : pieces) {
                all.push_back(all[i] + p);
            }
        }
        from = to;
    }
    // ASCII letters folded to lower case; the second byte of a two-byte
    // character is left as it is.
    auto fold = [](std::string s) {
        for (std::size_t i = 0; i < s.size(); ++i) {
            const auto c = static_cast<unsigned char>(s[i]);
            if (c >= 0x81 && c <= 0xFE && i + 1 < s.size()) {
                const auto t = static_cast<unsigned char>(s[i + 1]);
                if (t >= 0x40 && t <= 0xFE && t != 0x7F) {
                    ++i;
                    continue;
                }
            }
            if (c >= 'A' && c <= 'Z') {
                s[i] = static_cast<char>(c - 'A' + 'a');
            }
        }
        return s;
    };
    // A comparison that is not transitive leaves some pair out of order.
    std::vector<std::string> sorted = all;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const std::string& a, const std::string& b) { return Collate(a, b) < 0; });
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        for (std::size_t j = 0; j < sorted.size(); ++j) {
            const std::string& a = sorted[i];
            const std::string& b = sorted[j];
            const int ab = Collate(a, b);
            ASSERT_EQ(Sign(ab), -Sign(Collate(b, a))) << a << " / " << b;
            ASSERT_EQ(ab == 0, fold(a) == fold(b)) << a << " / " << b;
            if (i < j) {
                ASSERT_LE(ab, 0) << a << " / " << b;
            }
            if (ab < 0) {
                ASSERT_LE(CollationKey(a), CollationKey(b)) << a << " / " << b;
            }
        }
    }
}

// Phone numbers must be told apart by the key alone whenever their digits
// differ, so the sort rarely needs the full comparison.
TEST(Collation, KeysOfDigitLinesFollowTheirDigits) {
    std::mt19937 random(7);
    std::vector<std::string> numbers;
    for (int i = 0; i < 2000; ++i) {
        std::string s = "0";
        const int length = 9 + static_cast<int>(random() % 9);  // up to 18 characters
        for (int k = 0; k < length; ++k) {
            s += static_cast<char>('0' + random() % 10);
            if (random() % 7 == 0) {
                s += '-';
            }
        }
        numbers.push_back(s);
    }
    auto digits = [](const std::string& s) {
        std::string d;
        std::copy_if(s.begin(), s.end(), std::back_inserter(d), [](char c) { return c != '-'; });
        return d;
    };
    for (std::size_t i = 0; i + 1 < numbers.size(); ++i) {
        const std::string& a = numbers[i];
        const std::string& b = numbers[i + 1];
        const int order = Collate(a, b);
        EXPECT_EQ(Sign(order) == 0, a == b);
        if (order < 0) {
            EXPECT_LE(CollationKey(a), CollationKey(b));
        } else if (order > 0) {
            EXPECT_GE(CollationKey(a), CollationKey(b));
        }
        const std::string da = digits(a).substr(0, 16);
        const std::string db = digits(b).substr(0, 16);
        if (da != db) {
            EXPECT_NE(CollationKey(a), CollationKey(b)) << a << " / " << b;
            EXPECT_EQ(Sign(da.compare(db)), Sign(order)) << a << " / " << b;
        }
    }
}

}  // namespace
}  // namespace tavrisk
