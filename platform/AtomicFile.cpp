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

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view data) {
    const std::string target = ResolveTarget(path);
    std::string temp = target + ".tmp-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        ThrowCannotCreateFile(path);
    }
    // Keep the old file's permissions; a new file gets the usual 0666 & ~umask.
    struct stat st {};
    mode_t mode = 0;
    if (stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, data) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    if (ok) {
        try {
            if (auto& hook = AtomicWriteTestHook::BeforeRename()) {
                hook(temp);
            }
        } catch (...) {
            unlink(temp.c_str());
            throw;
        }
        ok = rename(temp.c_str(), target.c_str()) == 0;
    }
    if (!ok) {
        unlink(temp.c_str());
        ThrowCannotCreateFile(path);
    }
    // Make the rename itself durable.
    const auto slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
}

}  // namespace tavrisk
