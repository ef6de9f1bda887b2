#include "platform/FileError.h"

#include <cerrno>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

TEST(FileError, MapsErrnoToTheLineReaderMessages) {
    struct Case {
        int err;
        bool missingFolder;
        std::string message;
    };
    const Case cases[] = {
        {ENOENT, false, "File not found"},      {ENOENT, true, "Invalid filename"},
        {ENOTDIR, false, "Invalid filename"},   {ENAMETOOLONG, false, "Invalid filename"},
        {EMFILE, false, "Too many open files"}, {ENFILE, false, "Too many open files"},
        {EACCES, false, "File access denied"},  {EPERM, false, "File access denied"},
        {EISDIR, false, "File access denied"},  {EIO, false, "I/O error 5"},  // errno 5 is not Windows code 5
        {ENOSPC, false, "I/O error 28"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InOutErrorMessage(c.err, c.missingFolder), c.message) << c.err;
    }
}

}  // namespace
}  // namespace tavrisk
