#pragma once

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

// Test seam: when set, called after the temporary file is complete and
// before the rename; throwing from it simulates a crash at that moment.
struct AtomicWriteTestHook {
    static std::function<void(const std::string& tempPath)>& BeforeRename();
};

}  // namespace tavrisk
