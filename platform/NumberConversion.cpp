#include "platform/NumberConversion.h"

#include "platform/Error.h"

#include <cstdint>
#include <limits>

namespace tavrisk {

namespace {

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') {
        v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
    }
    return v < base ? v : -1;
}

}  // namespace

std::optional<int> TryStrToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    // The magnitude may reach 2^31 for a negative number.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0) {
            return std::nullopt;
        }
        magnitude = magnitude * base + d;
        if (magnitude > kLimit) {
            return std::nullopt;
        }
    }
    if (!negative && magnitude == kLimit) {
        return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int StrToInt(std::string_view text) {
    if (const auto value = TryStrToInt(text)) {
        return *value;
    }
    throw SystemError(FormatMessage("'%s' is not a valid integer value", text));
}

int StrToIntDef(std::string_view text, int defaultValue) {
    return TryStrToInt(text).value_or(defaultValue);
}

int SpinEditValue(std::string_view fieldText, int minValue) {
    return StrToIntDef(fieldText, minValue);
}

}  // namespace tavrisk
