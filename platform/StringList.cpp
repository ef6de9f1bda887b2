#include "platform/StringList.h"

#include "platform/AtomicFile.h"
#include "platform/FileError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrisk {

int CompareBytes(std::string_view a, std::string_view b) {
    return a.compare(b);
}

std::optional<std::size_t> StringList::Find(std::string_view s) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (compare_(items_[i], s) == 0) {
            return i;
        }
    }
    return std::nullopt;
}

bool LooseLineSplitter::Feed(std::string_view block) {
    if (ended_) {
        return false;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < block.size(); ++i) {
        const char c = block[i];
        if (afterCr_) {
            afterCr_ = false;
            if (c == '\n') {
                start = i + 1;  // the LF of a CR LF pair
                continue;
            }
        }
        if (c == '\0') {
            pending_.append(block.substr(start, i - start));
            ended_ = true;
            Finish();
            return false;
        }
        if (c == '\r' || c == '\n') {
            pending_.append(block.substr(start, i - start));
            out_.push_back(std::move(pending_));
            pending_.clear();
            afterCr_ = c == '\r';
            start = i + 1;
        }
    }
    pending_.append(block.substr(start));
    return true;
}

void LooseLineSplitter::Finish() {
    if (!pending_.empty()) {
        out_.push_back(std::move(pending_));
        pending_.clear();
    }
    ended_ = true;
}

void StringList::LoadFromText(std::string_view text) {
    items_.clear();
    LooseLineSplitter splitter(items_);
    splitter.Feed(text);
    splitter.Finish();
}

void StringList::LoadFromFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ThrowCannotOpenFile(path);
    }
    // A folder opens for reading here, but it is no file to load.
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd);
        ThrowCannotOpenFile(path);
    }
    std::vector<std::string> lines;
    LooseLineSplitter splitter(lines);
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            close(fd);
            ThrowStreamReadError();
        }
        if (n == 0 || !splitter.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) {
            break;
        }
    }
    close(fd);
    splitter.Finish();
    items_ = std::move(lines);
}

std::string StringList::Text() const {
    std::size_t size = 0;
    for (const auto& item : items_) {
        size += item.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const auto& item : items_) {
        text.append(item);
        text.append("\r\n");
    }
    return text;
}

void StringList::SaveToFile(const std::string& path) const {
    WriteFileAtomically(path, Text());
}

}  // namespace tavrisk
