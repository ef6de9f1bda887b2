#include "platform/FileError.h"

#include "platform/Error.h"
#include "platform/TextCodec.h"

#include <cerrno>

namespace tavrisk {

void ThrowCannotOpenFile(std::string_view path) {
    throw SystemError(FormatMessage("Cannot open file %s", ToGbk(path)));
}

void ThrowCannotCreateFile(std::string_view path) {
    throw SystemError(FormatMessage("Cannot create file %s", ToGbk(path)));
}

void ThrowStreamReadError() {
    throw SystemError("Stream read error");
}

void ThrowStreamWriteError() {
    throw SystemError("Stream write error");
}

std::string InOutErrorMessage(int err, bool missingFolder) {
    switch (err) {
        case ENOENT:
            return missingFolder ? "Invalid filename" : "File not found";
        case ENOTDIR:
        case ENAMETOOLONG:
            return "Invalid filename";
        case EMFILE:
        case ENFILE:
            return "Too many open files";
        case EACCES:
        case EPERM:
        case EISDIR:
            return "File access denied";
        default:
            return FormatMessage("I/O error %d", std::to_string(err));
    }
}

}  // namespace tavrisk
