#include "platform/LineReader.h"

#include "platform/Error.h"
#include "platform/FileError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrisk {

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 16;
constexpr char kEndOfFile = '\x1A';

// Whether the folder a path names its file in exists, so that a missing file
// and a missing folder give their own messages.
bool FolderExists(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return true;  // the working folder
    }
    const std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    struct stat st {};
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

[[noreturn]] void ThrowInOutError(int err, bool missingFolder = false) {
    throw SystemError(InOutErrorMessage(err, missingFolder));
}

}  // namespace

LineReader::LineReader(const std::string& path) : buffer_(kBlockSize) {
    fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        const int err = errno;
        ThrowInOutError(err, err == ENOENT && !FolderExists(path));
    }
    // A folder opens for reading here but is no file to read lines from.
    struct stat st {};
    if (fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd_);
        fd_ = -1;
        ThrowInOutError(EISDIR);
    }
}

LineReader::~LineReader() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

bool LineReader::Fill() {
    if (pos_ < end_) {
        return true;
    }
    while (!eof_) {
        const ssize_t n = read(fd_, buffer_.data(), buffer_.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowInOutError(errno);
        }
        pos_ = 0;
        end_ = static_cast<std::size_t>(n);
        if (n == 0) {
            eof_ = true;
            return false;
        }
        return true;
    }
    return false;
}

bool LineReader::AtEnd() {
    return !Fill() || buffer_[pos_] == kEndOfFile;
}

void LineReader::ReadLine(std::string& line) {
    line.clear();
    while (Fill()) {
        const char* block = buffer_.data();
        std::size_t i = pos_;
        for (; i < end_; ++i) {
            const char c = block[i];
            if (c == '\n') {
                pos_ = i + 1;
                return;
            }
            if (c == kEndOfFile) {
                pos_ = i;
                return;
            }
            if (c != '\r') {
                line.push_back(c);
            }
        }
        pos_ = i;
    }
}

void LineReader::SkipLine() {
    while (Fill()) {
        const char* block = buffer_.data();
        for (std::size_t i = pos_; i < end_; ++i) {
            if (block[i] == '\n') {
                pos_ = i + 1;
                return;
            }
            if (block[i] == kEndOfFile) {
                pos_ = i;
                return;
            }
        }
        pos_ = end_;
    }
}

std::size_t CountLines(const std::string& path) {
    LineReader reader(path);
    std::size_t count = 0;
    while (!reader.AtEnd()) {
        reader.SkipLine();
        ++count;
    }
    return count;
}

}  // namespace tavrisk
