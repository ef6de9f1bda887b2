#pragma once

#include <string>
#include <string_view>

namespace tavrisk {

// The file errors of the system, with its own messages. Paths are file-system
// bytes (UTF-8) and are shown in the message converted to GBK.
[[noreturn]] void ThrowCannotOpenFile(std::string_view path);
[[noreturn]] void ThrowCannotCreateFile(std::string_view path);
[[noreturn]] void ThrowStreamReadError();
[[noreturn]] void ThrowStreamWriteError();

// The line reader's message for the errno of a failed file operation, by the
// Windows codes it stands for: "File not found" (2: ENOENT), "Invalid
// filename" (3: ENOENT for a missing folder, ENOTDIR, ENAMETOOLONG), "Too many
// open files" (4: EMFILE, ENFILE), "File access denied" (5: EACCES, EPERM,
// EISDIR); any other errno gives "I/O error %d" with the errno value.
std::string InOutErrorMessage(int err, bool missingFolder);

}  // namespace tavrisk
