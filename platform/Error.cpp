#include "platform/Error.h"

#include <cstddef>

namespace tavrisk {

SystemError::SystemError(std::string gbkMessage) : std::runtime_error(gbkMessage), message_(std::move(gbkMessage)) {}

namespace {

bool IsGbkLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

}  // namespace

std::string ErrorBoxText(std::string_view gbkMessage) {
    std::string text(gbkMessage);
    // Walk the characters from the start: a lead byte takes the byte after it.
    std::size_t lastStart = std::string_view::npos;
    for (std::size_t i = 0; i < gbkMessage.size();) {
        lastStart = i;
        const auto c = static_cast<unsigned char>(gbkMessage[i]);
        i += (IsGbkLeadByte(c) && i + 1 < gbkMessage.size()) ? 2 : 1;
    }
    if (lastStart != std::string_view::npos && static_cast<unsigned char>(gbkMessage[lastStart]) > '.') {
        text.push_back('.');
    }
    return text;
}

std::string FormatMessage(std::string_view pattern, std::string_view arg) {
    for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern[i] == '%' && (pattern[i + 1] == 's' || pattern[i + 1] == 'd')) {
            std::string out(pattern.substr(0, i));
            out.append(arg);
            out.append(pattern.substr(i + 2));
            return out;
        }
    }
    return std::string(pattern);
}

}  // namespace tavrisk
