#pragma once

#include <string>
#include <string_view>

namespace tavrisk {

// The search engine's web server unless the settings name another one.
inline constexpr std::string_view kDefaultSearchHost = "www.baidu.com";

// Encodes a keyword's bytes for the query word of a search URL: a space
// becomes "+", ASCII letters and digits are copied, every other byte becomes
// "%" and two capital hexadecimal digits. One byte at a time: the bytes of a
// two-byte GBK character are encoded separately. The result is ASCII.
std::string UrlEncodeKeyword(std::string_view bytes);

// A keyword line without the bytes 0x00..0x20 at either end (spaces, TABs,
// CR, LF and other control bytes). Bytes from 0x80 up are kept, so a
// full-width space at an end stays.
std::string_view TrimKeywordLine(std::string_view line);

// The query URL of a keyword line up to and including "&pn=":
// "http://" host "/baidu?lm=0&si=&rn=10&ie=gb2312&ct=0&word=" encoded-word "&pn=".
std::string BuildQueryBase(std::string_view keywordLine, std::string_view searchHost);

// The URL of one result page: queryBase, the offset in decimal (0, 10, 20, ...)
// and "&cl=3". pageOffset must not be negative.
std::string BuildPageUrl(std::string_view queryBase, int pageOffset);

}  // namespace tavrisk
