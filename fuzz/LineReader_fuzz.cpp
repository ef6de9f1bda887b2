// Writes arbitrary bytes to a file and reads its lines with the line reader
// used by the import's count pass, comparing them with the rules written out
// byte by byte: LF or CR LF end a line, a lone CR is dropped, 0x1A ends the
// file, a last line without a line end counts. The count must agree, and
// skipping a line must move exactly as far as reading it.
#include "platform/LineReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> Reference(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // a line has started
    for (std::size_t i = 0; i < text.size() && text[i] != '\x1A'; ++i) {
        const char c = text[i];
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
        } else {
            open = true;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                continue;  // the CR of a CR LF pair
            }
            if (c != '\r') {
                line += c;
            }
        }
    }
    if (open) {
        lines.push_back(line);
    }
    return lines;
}

// Never destroyed, so the exit handler that removes the file can still use it.
const std::string& FilePath() {
    static const std::string& path = *new std::string([] {
        char pattern[] = "/tmp/tavrisk-linereader-fuzz-XXXXXX";
        const int fd = mkstemp(pattern);
        if (fd < 0) {
            std::abort();
        }
        close(fd);
        std::atexit([] { unlink(FilePath().c_str()); });
        return std::string(pattern);
    }());
    return path;
}

void Write(const std::string& path, std::string_view bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::abort();
    }
    close(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte says which lines are skipped rather than read.
    const unsigned skipMask = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string& path = FilePath();
    Write(path, text);

    const auto expected = Reference(text);
    std::vector<std::string> lines;
    {
        tavrisk::LineReader reader(path);
        std::string line;
        while (!reader.AtEnd()) {
            if (lines.size() > expected.size()) {
                std::abort();  // more lines than the text holds
            }
            if ((skipMask >> (lines.size() % 8)) & 1U) {
                reader.SkipLine();
                lines.push_back(lines.size() < expected.size() ? expected[lines.size()] : std::string("<skipped>"));
            } else {
                reader.ReadLine(line);
                lines.push_back(line);
            }
        }
    }
    if (lines != expected || tavrisk::CountLines(path) != expected.size()) {
        std::abort();
    }
    return 0;
}
