#include "platform/TextCodec.h"

#include <cerrno>
#include <iconv.h>

#include <stdexcept>

namespace tavrisk {

namespace {

// One converter per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("iconv cannot convert between GBK and UTF-8");
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in, replacing each input character that fails with "?";
    // skip(p, n) tells how many input bytes that character occupies.
    template <typename Skip>
    std::string Convert(std::string_view in, Skip skip) {
        std::string out;
        out.reserve(in.size() * 3 / 2 + 8);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (rc == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) {
                    continue;
                }
                // EILSEQ or EINVAL: one character that cannot be converted.
                const std::size_t n = skip(reinterpret_cast<const unsigned char*>(src), srcLeft);
                src += n;
                srcLeft -= n;
                out.push_back('?');
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t cd_;
};

std::size_t Utf8Length(const unsigned char* p, std::size_t left) {
    std::size_t n = 1;
    if (p[0] >= 0xF0) {
        n = 4;
    } else if (p[0] >= 0xE0) {
        n = 3;
    } else if (p[0] >= 0xC0) {
        n = 2;
    }
    // Stop early at a byte that cannot continue the sequence.
    std::size_t i = 1;
    while (i < n && i < left && (p[i] & 0xC0) == 0x80) {
        ++i;
    }
    return i;
}

std::size_t GbkLength(const unsigned char* p, std::size_t left) {
    // A lead byte takes its trail byte along only when that byte can trail,
    // so a broken pair never swallows the line feed after it.
    const bool pair = p[0] >= 0x81 && p[0] <= 0xFE && left >= 2 && p[1] >= 0x40 && p[1] <= 0xFE && p[1] != 0x7F;
    return pair ? 2 : 1;
}

}  // namespace

std::string ToGbk(std::string_view utf8) {
    thread_local Converter converter("CP936", "UTF-8");
    return converter.Convert(utf8, Utf8Length);
}

std::string FromGbk(std::string_view gbk) {
    thread_local Converter converter("UTF-8", "CP936");
    return converter.Convert(gbk, GbkLength);
}

}  // namespace tavrisk
