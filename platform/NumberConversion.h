#pragma once

#include <optional>
#include <string_view>

namespace tavrisk {

// The system's standard text-to-number conversion: leading spaces (0x20) are
// skipped, then an optional "+" or "-", then either decimal digits or
// hexadecimal digits after a "$", "0x" or "0X" prefix. Nothing may follow the
// digits. The value must lie in the signed 32-bit range. Gives no value for
// the empty text, a missing digit, trailing characters or an overflow.
std::optional<int> TryStrToInt(std::string_view text);

// TryStrToInt, raising "'%s' is not a valid integer value" (the text for %s)
// when the text is not a whole number.
int StrToInt(std::string_view text);

// TryStrToInt, or defaultValue when the text is not a whole number.
int StrToIntDef(std::string_view text, int defaultValue);

// The value of a spin edit whose field shows text: the whole number it shows,
// or the spin edit's minimum when the text is not a whole number. The value is
// not brought into the range: a number still being typed counts as it stands.
int SpinEditValue(std::string_view fieldText, int minValue);

}  // namespace tavrisk
