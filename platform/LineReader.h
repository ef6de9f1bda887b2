#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tavrisk {

// A sequential reader of a text file's lines, read in blocks:
// - a line ends at LF or at CR LF; the line end is not part of the line;
// - a CR that is not followed by LF is dropped and the line goes on;
// - a byte 0x1A ends the file: nothing at or after it is read;
// - a last line without a line end is a line; a line end at the very end
//   starts no further line.
// Failures raise the I/O errors "File not found", "Invalid filename", "Too many
// open files", "File access denied" or "I/O error %d".
class LineReader {
public:
    explicit LineReader(const std::string& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // True at the end of the file or at a 0x1A byte.
    [[nodiscard]] bool AtEnd();
    // Reads the next line into line, without its line end.
    void ReadLine(std::string& line);
    // Passes over the next line.
    void SkipLine();

private:
    bool Fill();

    int fd_ = -1;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
};

// The number of lines the reader gives for the file.
std::size_t CountLines(const std::string& path);

}  // namespace tavrisk
