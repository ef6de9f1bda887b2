#include "platform/Collation.h"

#include <array>
#include <cstddef>

namespace tavrisk {

namespace {

constexpr std::uint32_t kApostrophe = 1;
constexpr std::uint32_t kHyphen = 2;

// Rank of each ASCII byte; see the header for the order.
constexpr std::array<std::uint8_t, 128> MakeAsciiWeights() {
    std::array<std::uint8_t, 128> w{};
    std::uint8_t next = 3;
    w['\''] = kApostrophe;
    w['-'] = kHyphen;
    for (unsigned c = 0; c < 0x20; ++c) {
        w[c] = next++;
    }
    w[0x7F] = next++;
    for (unsigned c = 0x20; c < 0x7F; ++c) {
        if (c != '\'' && c != '-' && !(c >= '0' && c <= '9') && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z')) {
            w[c] = next++;
        }
    }
    for (unsigned c = '0'; c <= '9'; ++c) {
        w[c] = next++;
    }
    for (unsigned c = 'a'; c <= 'z'; ++c) {
        w[c] = next;
        w[c - 'a' + 'A'] = next;
        ++next;
    }
    return w;
}

constexpr std::array<std::uint8_t, 128> kAscii = MakeAsciiWeights();

// Reads one character from s at i and returns its rank; i moves past it.
inline std::uint32_t NextWeight(std::string_view s, std::size_t& i) {
    const auto c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) {
        return kAscii[c];
    }
    if (c >= 0x81 && c <= 0xFE && i < s.size()) {
        const auto t = static_cast<unsigned char>(s[i]);
        if (t >= 0x40 && t <= 0xFE && t != 0x7F) {
            ++i;
            return (std::uint32_t{c} << 8) | t;
        }
    }
    return std::uint32_t{c} << 8;
}

// The next rank that is not an apostrophe or hyphen, or 0 at the end.
inline std::uint32_t NextPrimary(std::string_view s, std::size_t& i) {
    while (i < s.size()) {
        const std::uint32_t w = NextWeight(s, i);
        if (w > kHyphen) {
            return w;
        }
    }
    return 0;
}

}  // namespace

int Collate(std::string_view a, std::string_view b) {
    // First round: apostrophes and hyphens left out. 0 marks the end, which
    // ranks below every character.
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        const std::uint32_t wa = NextPrimary(a, i);
        const std::uint32_t wb = NextPrimary(b, j);
        if (wa != wb) {
            return wa < wb ? -1 : 1;
        }
        if (wa == 0) {
            break;
        }
    }
    // Second round: every character.
    i = 0;
    j = 0;
    for (;;) {
        const std::uint32_t wa = i < a.size() ? NextWeight(a, i) : 0;
        const std::uint32_t wb = j < b.size() ? NextWeight(b, j) : 0;
        if (wa != wb) {
            return wa < wb ? -1 : 1;
        }
        if (wa == 0) {
            return 0;
        }
    }
}

std::uint64_t CollationKey(std::string_view s) {
    // Sixteen 4-bit classes of the first round's characters: 0 the end, 1 a
    // sign or control byte, 2-11 a digit, 12 a letter, 13 anything else. A
    // digit is exact; any other class ends the key, since the characters it
    // stands for are not told apart by it.
    std::uint64_t key = 0;
    std::size_t i = 0;
    for (int n = 0; n < 16; ++n) {
        const std::uint32_t w = NextPrimary(s, i);
        std::uint64_t cls = 0;
        bool stop = true;
        if (w == 0) {
            cls = 0;
        } else if (w < kAscii['0']) {
            cls = 1;
        } else if (w <= kAscii['9']) {
            cls = 2 + (w - kAscii['0']);
            stop = false;
        } else if (w < 0x100) {
            cls = 12;
        } else {
            cls = 13;
        }
        key |= cls << (60 - 4 * n);
        if (stop) {
            break;
        }
    }
    return key;
}

}  // namespace tavrisk
