#include "harvest/Substitution.h"

#include <algorithm>
#include <cstring>

namespace tavrisk {

namespace {

constexpr bool IsHighByte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}

constexpr unsigned char FoldCase(unsigned char b) {
    return (b >= 'a' && b <= 'z') ? static_cast<unsigned char>(b - 0x20) : b;
}

constexpr bool IsAsciiLetter(unsigned char b) {
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
}

// Whether pattern matches text at pos, letter case ignored (alignment not checked).
bool MatchesAt(std::string_view text, std::size_t pos, std::string_view pattern) {
    if (text.size() - pos < pattern.size()) {
        return false;
    }
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        if (FoldCase(static_cast<unsigned char>(text[pos + k])) != FoldCase(static_cast<unsigned char>(pattern[k]))) {
            return false;
        }
    }
    return true;
}

// The first position at or after from where pattern matches, letter case
// ignored and alignment not yet checked; npos when there is none.
std::size_t FindFolded(std::string_view text, std::string_view pattern, std::size_t from) {
    if (pattern.empty() || text.size() < pattern.size()) {
        return std::string_view::npos;
    }
    const std::size_t last = text.size() - pattern.size();  // last possible start
    const auto first = static_cast<unsigned char>(pattern[0]);
    const char* data = text.data();
    if (IsAsciiLetter(first)) {
        // Both cases of the letter, each found with memchr; the nearer one is tried first.
        const char* const stop = data + last + 1;
        const auto next = [stop](const char* at, unsigned char c) {
            return at < stop ? static_cast<const char*>(std::memchr(at, c, static_cast<std::size_t>(stop - at)))
                             : nullptr;
        };
        const auto upper = static_cast<unsigned char>(first & ~0x20U);
        const auto lower = static_cast<unsigned char>(first | 0x20U);
        const char* nextUpper = next(data + from, upper);
        const char* nextLower = next(data + from, lower);
        while (nextUpper != nullptr || nextLower != nullptr) {
            const bool takeUpper = nextLower == nullptr || (nextUpper != nullptr && nextUpper < nextLower);
            const char* hit = takeUpper ? nextUpper : nextLower;
            const auto pos = static_cast<std::size_t>(hit - data);
            if (MatchesAt(text, pos, pattern)) {
                return pos;
            }
            if (takeUpper) {
                nextUpper = next(hit + 1, upper);
            } else {
                nextLower = next(hit + 1, lower);
            }
        }
        return std::string_view::npos;
    }
    std::size_t i = from;
    while (i <= last) {
        const void* hit = std::memchr(data + i, first, last + 1 - i);
        if (hit == nullptr) {
            return std::string_view::npos;
        }
        i = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        if (MatchesAt(text, i, pattern)) {
            return i;
        }
        ++i;
    }
    return std::string_view::npos;
}

}  // namespace

std::size_t FindIgnoringCase(std::string_view text, std::string_view pattern, std::size_t from) {
    return FindFolded(text, pattern, from);
}

bool IsSecondByte(std::string_view text, std::size_t pos) {
    std::size_t row = 0;
    while (pos > 0 && IsHighByte(static_cast<unsigned char>(text[pos - 1]))) {
        ++row;
        --pos;
    }
    return (row % 2) == 1;
}

bool ReplaceAllInto(std::string_view text, std::string_view pattern, std::string_view replacement, std::string& out,
                    std::size_t from) {
    std::size_t copied = 0;  // text before this is already in out
    std::size_t search = from;
    bool matched = false;
    while (true) {
        const std::size_t pos = FindFolded(text, pattern, search);
        if (pos == std::string_view::npos) {
            break;
        }
        if (IsSecondByte(text, pos)) {
            search = pos + 1;
            continue;
        }
        if (!matched) {
            out.clear();
            matched = true;
        }
        out.append(text.data() + copied, pos - copied);
        out.append(replacement);
        copied = pos + pattern.size();
        search = copied;
    }
    if (matched) {
        out.append(text.data() + copied, text.size() - copied);
    }
    return matched;
}

std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view replacement) {
    std::string out;
    if (!ReplaceAllInto(text, pattern, replacement, out)) {
        out.assign(text);
    }
    return out;
}

}  // namespace tavrisk
