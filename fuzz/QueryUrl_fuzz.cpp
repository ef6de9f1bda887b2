// Builds the query URL of arbitrary keyword lines and checks that the URL
// stays on the search host's query path: the keyword's part is ASCII letters,
// digits, "+" and "%XX" only, so it can add no path, query key, fragment or
// host, and it decodes back to the trimmed keyword byte for byte.
#include "harvest/QueryUrl.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kHost = "127.0.0.1:8080";
constexpr std::string_view kPrefix = "http://127.0.0.1:8080/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=";
constexpr std::string_view kSuffix = "&pn=";

bool IsAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;  // lower-case or anything else is not what the encoder writes
}

// The bytes of an encoded word; aborts on anything but the encoder's forms.
std::string Decode(std::string_view word) {
    std::string bytes;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        if (c == '+') {
            bytes += ' ';
        } else if (IsAlnum(c)) {
            bytes += c;
        } else if (c == '%' && i + 2 < word.size() + 0 && HexValue(word[i + 1]) >= 0 && HexValue(word[i + 2]) >= 0) {
            bytes += static_cast<char>(HexValue(word[i + 1]) * 16 + HexValue(word[i + 2]));
            i += 2;
        } else {
            std::abort();
        }
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    const std::string word = tavrisk::UrlEncodeKeyword(line);
    if (Decode(word) != line) {
        std::abort();
    }

    const std::string_view trimmed = tavrisk::TrimKeywordLine(line);
    if (!trimmed.empty() &&
        (static_cast<unsigned char>(trimmed.front()) <= 0x20 || static_cast<unsigned char>(trimmed.back()) <= 0x20)) {
        std::abort();
    }

    const std::string base = tavrisk::BuildQueryBase(line, kHost);
    if (base.size() < kPrefix.size() + kSuffix.size() || base.compare(0, kPrefix.size(), kPrefix) != 0 ||
        base.compare(base.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0) {
        std::abort();  // the keyword changed the host, the path or the fixed query keys
    }
    const std::string_view middle =
        std::string_view(base).substr(kPrefix.size(), base.size() - kPrefix.size() - kSuffix.size());
    if (Decode(middle) != trimmed) {
        std::abort();
    }

    const std::string url = tavrisk::BuildPageUrl(base, static_cast<int>(size % 8) * 10);
    if (url != base + std::to_string(static_cast<int>(size % 8) * 10) + "&cl=3") {
        std::abort();
    }
    for (const char c : url) {
        if (static_cast<unsigned char>(c) <= 0x20 || static_cast<unsigned char>(c) >= 0x7F || c == '#') {
            std::abort();  // not a plain ASCII URL
        }
    }
    return 0;
}
