#include "harvest/SeenNumbers.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrisk {
namespace {

TEST(SeenNumbersTest, KeepsNumbersInOrderAndFindsOnlyByteEqualOnes) {
    SeenNumbers seen;
    EXPECT_FALSE(seen.Contains("021-12345678"));
    seen.Add("021-12345678");
    seen.Add("0571-1234567");
    EXPECT_TRUE(seen.Contains("021-12345678"));
    EXPECT_TRUE(seen.Contains("0571-1234567"));
    // Hyphens count: a number without them is another number.
    EXPECT_FALSE(seen.Contains("02112345678"));
    EXPECT_FALSE(seen.Contains("021-1234567"));
    EXPECT_FALSE(seen.Contains(""));
    ASSERT_EQ(seen.Count(), 2U);
    EXPECT_EQ(seen.Item(0), "021-12345678");
    EXPECT_EQ(seen.Item(1), "0571-1234567");
}

// "0" followed by the decimal digits of i.
std::string Number(int i) {
    std::string number = std::to_string(i);
    number.insert(number.begin(), '0');
    return number;
}

TEST(SeenNumbersTest, IndexStaysValidAsTheListGrows) {
    // Short strings live inside their element; growth must not invalidate the index.
    SeenNumbers seen;
    for (int i = 0; i < 100000; ++i) {
        seen.Add(Number(1000000000 + i));
    }
    EXPECT_EQ(seen.Count(), 100000U);
    for (int i = 0; i < 100000; i += 997) {
        EXPECT_TRUE(seen.Contains(Number(1000000000 + i))) << i;
    }
    EXPECT_FALSE(seen.Contains(Number(1000000000 + 100000)));
    EXPECT_EQ(seen.Item(99999), "01000099999");
}

TEST(SeenNumbersTest, AddingAKnownNumberAppendsItAgain) {
    // A plain list: the caller looks up before it adds, the list itself never refuses.
    SeenNumbers seen;
    seen.Add("021-12345678");
    seen.Add("021-12345678");
    EXPECT_EQ(seen.Count(), 2U);
    EXPECT_TRUE(seen.Contains("021-12345678"));
}

}  // namespace
}  // namespace tavrisk
