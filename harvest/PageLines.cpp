#include "harvest/PageLines.h"

#include <algorithm>

namespace tavrisk {

std::vector<std::string> SplitPageLines(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        const bool last = end == std::string_view::npos;
        if (last) {
            end = text.size();
        }
        lines.emplace_back(text.substr(start, std::min(end - start, kPageLineLimit)));
        if (last) {
            break;
        }
        start = end + 2;
    }
    return lines;
}

}  // namespace tavrisk
