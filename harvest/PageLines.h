#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavrisk {

// The longest line read from a page; the bytes of a longer line beyond it are
// not read.
inline constexpr std::size_t kPageLineLimit = 4096;

// Cuts the text of a page into its lines, as the hidden text control does: a
// line ends at CR LF; an empty text gives no line; a text ending in CR LF gets
// no empty last line, while empty lines elsewhere count. A CR or LF on its own
// is part of the line. A line keeps at most its first kPageLineLimit bytes. A
// byte 0x00 ends the text.
std::vector<std::string> SplitPageLines(std::string_view text);

}  // namespace tavrisk
