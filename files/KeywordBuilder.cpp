#include "files/KeywordBuilder.h"

#include "platform/StringList.h"

namespace tavrisk {

std::vector<std::string> TextLines(std::string_view text) {
    // The loader's line rules are exactly those of a text area.
    StringList lines;
    lines.LoadFromText(text);
    return lines.Items();
}

std::string CombineKeywords(const std::vector<std::string>& products, const std::vector<std::string>& markers) {
    std::size_t markerBytes = 0;
    for (const auto& m : markers) {
        markerBytes += m.size() + 3;  // space, CR, LF
    }
    std::size_t total = 0;
    for (const auto& p : products) {
        total += p.size() * markers.size() + markerBytes;
    }
    std::string text;
    text.reserve(total);
    for (const auto& p : products) {
        for (const auto& m : markers) {
            text.append(p);
            text.push_back(' ');
            text.append(m);
            text.append("\r\n");
        }
    }
    return text;
}

}  // namespace tavrisk
