#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace tavrisk {

// Replaces the file at path with data in one step: the bytes go to a
// temporary file beside it, are flushed to disk, and the temporary file is
// renamed over the old one. A failure at any point leaves the old file whole
// and raises "Cannot create file %s" (or the error of onFailure, if given).
// A link is followed: the file it points to is replaced.
void WriteFileAtomically(const std::string& path, std::string_view data);

// The same replacement for data made piece by piece, too large to be built
// in memory first. The constructor creates the temporary file beside the
// target ("Cannot create file %s"); Write buffers the bytes and raises
// "Stream write error" when the disk refuses them; Commit flushes them and
// renames the temporary file over the target ("Stream write error", or
// "Cannot create file %s" when the rename fails). A writer destroyed
// without Commit removes its temporary file and leaves the target untouched.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void Write(std::string_view bytes);
    void Commit();

private:
    void Flush();

    static constexpr std::size_t kBufferSize = 1 << 16;
    std::string path_;
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    std::string buffer_;
};

// Test seam: when set, called after the temporary file is complete and
// before the rename; throwing from it simulates a crash at that moment.
struct AtomicWriteTestHook {
    static std::function<void(const std::string& tempPath)>& BeforeRename();
};

}  // namespace tavrisk
