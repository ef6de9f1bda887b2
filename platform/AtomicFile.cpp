#include "platform/AtomicFile.h"

#include "platform/FileError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace tavrisk {

std::function<void(const std::string&)>& AtomicWriteTestHook::BeforeRename() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

namespace {

// The path a write lands on: a link's target, so the link survives.
std::string ResolveTarget(const std::string& path) {
    std::string target = path;
    for (int depth = 0; depth < 16; ++depth) {
        struct stat st {};
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            break;
        }
        std::vector<char> buf(PATH_MAX + 1);
        const ssize_t n = readlink(target.c_str(), buf.data(), PATH_MAX);
        if (n <= 0) {
            break;
        }
        std::string link(buf.data(), static_cast<std::size_t>(n));
        if (link.front() != '/') {
            const auto slash = target.rfind('/');
            link.insert(0, slash == std::string::npos ? std::string() : target.substr(0, slash + 1));
        }
        target = link;
    }
    return target;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The mode a replacement gets: the old file's permissions, or the usual
// 0666 & ~umask for a new file.
mode_t ReplacementMode(const std::string& target) {
    struct stat st {};
    if (stat(target.c_str(), &st) == 0) {
        return st.st_mode & 07777;
    }
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Makes a rename in the target's folder durable.
void SyncFolderOf(const std::string& target) {
    const auto slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
}

// Runs the test hook before a rename; the temporary file goes if it throws.
void BeforeRename(const std::string& temp) {
    try {
        if (auto& hook = AtomicWriteTestHook::BeforeRename()) {
            hook(temp);
        }
    } catch (...) {
        unlink(temp.c_str());
        throw;
    }
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view data) {
    const std::string target = ResolveTarget(path);
    std::string temp = target + ".tmp-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        ThrowCannotCreateFile(path);
    }
    bool ok = fchmod(fd, ReplacementMode(target)) == 0 && WriteAll(fd, data) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    if (ok) {
        BeforeRename(temp);
        ok = rename(temp.c_str(), target.c_str()) == 0;
    }
    if (!ok) {
        unlink(temp.c_str());
        ThrowCannotCreateFile(path);
    }
    SyncFolderOf(target);
}

AtomicFileWriter::AtomicFileWriter(std::string path)
    : path_(std::move(path)), target_(ResolveTarget(path_)), temp_(target_ + ".tmp-XXXXXX") {
    fd_ = mkstemp(temp_.data());
    if (fd_ < 0) {
        ThrowCannotCreateFile(path_);
    }
    if (fchmod(fd_, ReplacementMode(target_)) != 0) {
        close(fd_);
        unlink(temp_.c_str());
        fd_ = -1;
        ThrowCannotCreateFile(path_);
    }
    buffer_.reserve(kBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) {
        close(fd_);
        unlink(temp_.c_str());
    }
}

void AtomicFileWriter::Write(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kBufferSize) {
        Flush();
        if (bytes.size() >= kBufferSize) {
            if (!WriteAll(fd_, bytes)) {
                ThrowStreamWriteError();
            }
            return;
        }
    }
    buffer_.append(bytes);
}

void AtomicFileWriter::Flush() {
    if (!WriteAll(fd_, buffer_)) {
        ThrowStreamWriteError();
    }
    buffer_.clear();
}

void AtomicFileWriter::Commit() {
    Flush();
    const bool synced = fsync(fd_) == 0;
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed) {
        unlink(temp_.c_str());
        ThrowStreamWriteError();
    }
    BeforeRename(temp_);
    if (rename(temp_.c_str(), target_.c_str()) != 0) {
        unlink(temp_.c_str());
        ThrowCannotCreateFile(path_);
    }
    SyncFolderOf(target_);
}

}  // namespace tavrisk
