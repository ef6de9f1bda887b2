#pragma once

#include <string>
#include <string_view>

namespace tavrisk {

// GBK (code page 936) <-> UTF-8, used only at the edges: what a widget shows,
// what a widget or the web view gives back, file names in messages.
// A character that GBK cannot hold becomes "?"; so does a GBK byte sequence
// that does not decode.
std::string ToGbk(std::string_view utf8);
std::string FromGbk(std::string_view gbk);

}  // namespace tavrisk
