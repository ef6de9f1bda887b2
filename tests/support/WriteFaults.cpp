#include "tests/support/WriteFaults.h"

#include "tests/support/TestSupport.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace tavrisk::test {

FileSizeLimit::FileSizeLimit(std::size_t bytes) {
    // A write past the limit raises SIGXFSZ, which would end the process;
    // ignored, the write fails with EFBIG instead.
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        throw std::runtime_error("setrlimit failed");
    }
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
}

SmallFilesystem::SmallFilesystem(std::size_t bytes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrisk-tmpfs-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
    mounted_ = mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

SmallFilesystem::~SmallFilesystem() {
    if (mounted_) {
        umount2(path_.c_str(), MNT_DETACH);
    }
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void SmallFilesystem::Fill() const {
    const int fd = open(File("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        throw std::runtime_error("cannot create the filler file");
    }
    const std::vector<char> block(4096, 'f');
    std::size_t size = block.size();
    while (size > 0) {
        const ssize_t n = write(fd, block.data(), size);
        if (n < 0 && errno == ENOSPC) {
            size /= 2;  // fill the last partial page too
        } else if (n < 0 && errno != EINTR) {
            break;
        }
    }
    close(fd);
}

namespace {

// Forks a child that runs body and exits: 0 when it returns, 1 when it throws.
pid_t StartChild(const std::function<void()>& body) {
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        try {
            body();
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    return pid;
}

}  // namespace

int RunInChild(const std::function<void()>& body) {
    const pid_t pid = StartChild(body);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

bool KillChildWhileWriting(const std::function<void()>& body, const std::string& folder, const std::string& tempPrefix,
                           std::size_t minBytes) {
    const pid_t pid = StartChild(body);
    bool killed = false;
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return false;  // finished before it could be caught writing
        }
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(tempPrefix, 0) == 0 && entry.file_size(ec) > minBytes) {
                kill(pid, SIGKILL);
                killed = true;
                break;
            }
        }
        if (killed) {
            break;
        }
        sched_yield();
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace tavrisk::test
