// Loads arbitrary bytes as a string list, whole and in random blocks, and
// checks the line rules: the same entries either way, no entry holding a line
// end or a 0x00, and saving then loading again gives the same entries.
#include "platform/StringList.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The line rules written out plainly, one byte at a time.
std::vector<std::string> Reference(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != '\0'; ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::size_t seed = in.ConsumeIntegral<std::uint16_t>();
    const std::string text = in.ConsumeRemainingBytesAsString();

    tavrisk::StringList list;
    list.LoadFromText(text);
    if (list.Items() != Reference(text)) {
        std::abort();
    }
    for (const auto& item : list.Items()) {
        if (item.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
            std::abort();
        }
    }

    // The same text fed in blocks of varying sizes (a CR LF pair may be split).
    std::vector<std::string> blocks;
    tavrisk::LooseLineSplitter splitter(blocks);
    std::size_t pos = 0;
    std::size_t step = seed;
    while (pos < text.size()) {
        const std::size_t n = 1 + step % 7;
        step = step / 7 + (step % 7) * 3 + 1;
        if (!splitter.Feed(std::string_view(text).substr(pos, n))) {
            break;
        }
        pos += n;
    }
    splitter.Finish();
    if (blocks != list.Items()) {
        std::abort();
    }

    tavrisk::StringList again;
    again.LoadFromText(list.Text());
    if (again.Items() != list.Items()) {
        std::abort();
    }
    return 0;
}
