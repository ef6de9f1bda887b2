#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tavrisk {

// An error raised where it occurs and carried up to the one guard around a
// command handler or timer tick, which shows it in the standard error box.
// The message is the system's own text in GBK bytes.
class SystemError : public std::runtime_error {
public:
    explicit SystemError(std::string gbkMessage);
    [[nodiscard]] const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};

// The text of the standard error box: the message, with "." appended when its
// last character sorts after "." by byte value. A two-byte GBK character counts
// as one character and its lead byte decides.
std::string ErrorBoxText(std::string_view gbkMessage);

// Replaces the first "%s" or "%d" of pattern with arg (no other directives).
std::string FormatMessage(std::string_view pattern, std::string_view arg);

}  // namespace tavrisk
