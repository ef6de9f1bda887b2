#include "harvest/QueryUrl.h"

namespace tavrisk {

namespace {

bool IsAsciiLetterOrDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string UrlEncodeKeyword(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == ' ') {
            out.push_back('+');
        } else if (IsAsciiLetterOrDigit(c)) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0x0F]);
        }
    }
    return out;
}

std::string_view TrimKeywordLine(std::string_view line) {
    const auto blank = [](char ch) { return static_cast<unsigned char>(ch) <= 0x20; };
    std::size_t begin = 0;
    std::size_t end = line.size();
    while (begin < end && blank(line[begin])) {
        ++begin;
    }
    while (end > begin && blank(line[end - 1])) {
        --end;
    }
    return line.substr(begin, end - begin);
}

std::string BuildQueryBase(std::string_view keywordLine, std::string_view searchHost) {
    static constexpr std::string_view kPath = "/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=";
    const std::string word = UrlEncodeKeyword(TrimKeywordLine(keywordLine));
    std::string url;
    url.reserve(7 + searchHost.size() + kPath.size() + word.size() + 4);
    url.append("http://");
    url.append(searchHost);
    url.append(kPath);
    url.append(word);
    url.append("&pn=");
    return url;
}

std::string BuildPageUrl(std::string_view queryBase, int pageOffset) {
    std::string url(queryBase);
    url.append(std::to_string(pageOffset));
    url.append("&cl=3");
    return url;
}

}  // namespace tavrisk
