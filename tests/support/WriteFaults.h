#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>

namespace tavrisk::test {

// While it lives, no file of the process may grow beyond `bytes`: a write
// past it fails (EFBIG) as it would on a full disk. Works without privileges.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::size_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// A tmpfs of `bytes` bytes mounted on a fresh folder, unmounted and removed
// when the object goes away. Mounting needs root (or CAP_SYS_ADMIN); when the
// system refuses, Mounted() is false and the test should skip.
class SmallFilesystem {
public:
    explicit SmallFilesystem(std::size_t bytes);
    ~SmallFilesystem();
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    [[nodiscard]] bool Mounted() const { return mounted_; }
    [[nodiscard]] std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Writes a filler file until the file system has no byte left.
    void Fill() const;

private:
    std::string path_;
    bool mounted_ = false;
};

// Runs body in a child process and waits for it; returns the child's wait
// status. The child ends with _exit(0) when body returns, _exit(1) when it
// throws.
int RunInChild(const std::function<void()>& body);

// Runs body in a child process and kills it with SIGKILL as soon as
// `tempGlob`'s folder holds a file whose name starts with `tempPrefix` and
// that has more than `minBytes` bytes, i.e. in the middle of writing it.
// Returns true when the kill came before the child finished on its own.
bool KillChildWhileWriting(const std::function<void()>& body, const std::string& folder, const std::string& tempPrefix,
                           std::size_t minBytes);

}  // namespace tavrisk::test
