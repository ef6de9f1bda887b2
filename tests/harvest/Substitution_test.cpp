#include "harvest/Substitution.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestSupport.h"

namespace tavrisk {
namespace {

using test::G;

struct ReplaceCase {
    const char* text;  // UTF-8, converted to GBK
    const char* pattern;
    const char* replacement;
    const char* expected;
};

TEST(SubstitutionTest, ReplacesLeftToRightWithoutOverlapIgnoringLetterCase) {
    const ReplaceCase cases[] = {
        // Three spaces, two-space pattern: one match, the third space stays.
        {"   ", "  ", " ", "  "},
        {"    ", "  ", " ", "  "},
        {"     ", "  ", " ", "   "},
        // Inserted text is not searched again by the same step.
        {"aa", "a", "aa", "aaaa"},
        {"---", "--", "-", "--"},
        // Letter case ignored on both sides; the replacement goes in as written.
        {"fax: Fax: FAX: fAx:", "FAX:", "FAX:", "FAX: FAX: FAX: FAX:"},
        {"(fAX) 1", "(Fax) ", "Fax", "Fax1"},
        {"no match here", "FAX", "x", "no match here"},
        {"", "a", "b", ""},
        {"ab", "abc", "x", "ab"},
        // Chinese patterns and text, full-width signs compared byte for byte.
        {"传真：1 传真：2", "传真：", "FAX:", "FAX:1 FAX:2"},
        {"传真:1", "传真：", "FAX:", "传真:1"},
        {"a;b;;c", ";", ":", "a:b::c"},
        {"a b  c", " ", "", "abc"},
    };
    for (const ReplaceCase& c : cases) {
        EXPECT_EQ(ReplaceAll(G(c.text), G(c.pattern), G(c.replacement)), G(c.expected))
            << "text '" << c.text << "' pattern '" << c.pattern << "'";
    }
}

TEST(SubstitutionTest, NeverStartsAMatchOnASecondByte) {
    // "昮" is 95 66: its second byte is a lower-case "f".
    EXPECT_EQ(ReplaceAll(G("昮ax:"), "FAX:", "FAX:"), G("昮ax:"));
    // After the character the next position is a first byte again.
    EXPECT_EQ(ReplaceAll(G("昮fax:"), "FAX:", "FAX:"), G("昮FAX:"));
    // "旻" is 95 46: an upper-case "F" as second byte; "AX:" alone is not the pattern.
    EXPECT_EQ(ReplaceAll(G("旻AX: fax:"), "FAX:", "[]"), G("旻AX: []"));
    // A match skipped on a second byte does not hide a later one.
    EXPECT_EQ(ReplaceAll(G("昮a昮ax:fax:"), "FAX:", "!"), G("昮a昮ax:!"));
}

TEST(SubstitutionTest, SecondByteIsDecidedByTheRowOfHighBytesBeforeIt) {
    const std::string text =
        "a\x81\x82\x83"
        "b";
    EXPECT_FALSE(IsSecondByte(text, 0));
    EXPECT_FALSE(IsSecondByte(text, 1));
    EXPECT_TRUE(IsSecondByte(text, 2));   // one high byte before
    EXPECT_FALSE(IsSecondByte(text, 3));  // two
    EXPECT_TRUE(IsSecondByte(text, 4));   // three
    EXPECT_FALSE(IsSecondByte(text, 5));  // the row is broken by "b"
    // 0x80 and 0xFF are not in the range: they break the row.
    EXPECT_FALSE(IsSecondByte("\x81\x80x", 2));
    EXPECT_FALSE(IsSecondByte("\x81\xFFx", 2));
    EXPECT_TRUE(IsSecondByte("\xFE\x81\xFEx", 3));
    // A match may begin behind a complete pair of high bytes.
    EXPECT_EQ(ReplaceAll("\x81\x81;", ";", ":"), "\x81\x81:");
    EXPECT_EQ(ReplaceAll("\x81;", ";", ":"), "\x81;");
}

TEST(SubstitutionTest, NoMatchLeavesTheOutputUntouched) {
    std::string out = "kept";
    EXPECT_FALSE(ReplaceAllInto("abc", "x", "y", out));
    EXPECT_EQ(out, "kept");
    EXPECT_TRUE(ReplaceAllInto("axc", "x", "y", out));
    EXPECT_EQ(out, "ayc");
}

}  // namespace
}  // namespace tavrisk
