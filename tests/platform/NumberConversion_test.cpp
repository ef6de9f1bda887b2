#include "platform/NumberConversion.h"

#include "platform/Error.h"

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

struct Case {
    std::string text;
    std::optional<int> value;
};

TEST(NumberConversion, ReadsTheStandardForms) {
    const Case kCases[] = {
        {"0", 0},
        {"42", 42},
        {"007", 7},
        {"+5", 5},
        {"-1", -1},
        {"   12", 12},
        {"$1F", 31},
        {"$1f", 31},
        {"0x10", 16},
        {"0X10", 16},
        {"-$10", -16},
        {"-0x10", -16},
        {" +0x7FFFFFFF", 2147483647},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-$80000000", -2147483647 - 1},
        // Not whole numbers.
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"ten", std::nullopt},
        {"12 ", std::nullopt},
        {"1.5", std::nullopt},
        {"\t12", std::nullopt},
        {"- 1", std::nullopt},
        {"+-1", std::nullopt},
        {"x10", std::nullopt},
        {"0x1G", std::nullopt},
        {"1F", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"$80000000", std::nullopt},
        {"$FFFFFFFF", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(TryStrToInt(c.text), c.value) << '"' << c.text << '"';
        EXPECT_EQ(StrToIntDef(c.text, -99), c.value.value_or(-99)) << '"' << c.text << '"';
    }
}

TEST(NumberConversion, StrToIntRaisesTheConversionErrorWithTheText) {
    EXPECT_EQ(StrToInt(" -0x1a"), -26);
    for (const std::string text : {"", "ten", "12 ", "2147483648", "\xb0\xa1"}) {
        try {
            StrToInt(text);
            ADD_FAILURE() << text;
        } catch (const SystemError& e) {
            EXPECT_EQ(e.Message(), "'" + text + "' is not a valid integer value");
        }
    }
}

TEST(NumberConversion, SpinEditValueKeepsATypedNumberAndFallsBackToTheMinimum) {
    EXPECT_EQ(SpinEditValue("5000", 1), 5000);  // beyond the range, still being typed
    EXPECT_EQ(SpinEditValue("0", 1), 0);
    EXPECT_EQ(SpinEditValue("-3", 1), -3);
    EXPECT_EQ(SpinEditValue("", 1), 1);
    EXPECT_EQ(SpinEditValue("1a", 1), 1);
    EXPECT_EQ(SpinEditValue("$10", 1), 16);
}

}  // namespace
}  // namespace tavrisk
