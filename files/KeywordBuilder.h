#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrisk {

// The lines of a text area's text (GBK bytes). A line ends at CR LF, LF or a
// lone CR; a last line left empty by a final line break does not count, empty
// lines elsewhere do. Nothing is trimmed.
std::vector<std::string> TextLines(std::string_view text);

// The keyword list made of every product phrase followed by every marker:
// products outer, markers inner, each pair joined by one ASCII space and each
// line ended by CR LF. Empty when either list is empty.
std::string CombineKeywords(const std::vector<std::string>& products, const std::vector<std::string>& markers);

}  // namespace tavrisk
