#include "files/ResultsJournal.h"

#include "platform/TextCodec.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace tavrisk {

ResultsJournal::~ResultsJournal() {
    Close();
}

std::string ResultsJournal::FileNameFor(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    std::array<char, 32> name{};
    const std::size_t length = std::strftime(name.data(), name.size(), "%Y%m%d-%H%M%S.txt", &local);
    return std::string(name.data(), length);
}

void ResultsJournal::Start(const std::string& folder, std::time_t startTime) {
    Close();
    folder_ = folder;
    path_ = folder + "/" + FileNameFor(startTime);
    error_.clear();
}

bool ResultsJournal::Append(const std::string& number) {
    if (path_.empty()) {
        return true;
    }
    const auto fail = [this](const char* what) {
        error_ = ToGbk(what) + ToGbk(path_) + ": " + ToGbk(std::strerror(errno));
        return false;
    };
    if (fd_ < 0) {
        if (mkdir(folder_.c_str(), 0755) != 0 && errno != EEXIST) {
            return fail("Cannot create folder for ");
        }
        fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            return fail("Cannot create file ");
        }
    }
    const std::string line = number + "\r\n";
    // Where the line begins: a line cut short by a full disk is taken back,
    // so the journal never holds half a number, nor a later number glued to
    // one.
    const off_t before = lseek(fd_, 0, SEEK_END);
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = write(fd_, line.data() + written, line.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int error = errno;
            if (written > 0 && before >= 0 && ftruncate(fd_, before) != 0) {
                // Nothing more can be done; the error below is the one to tell.
            }
            errno = error;
            return fail("Cannot write to ");
        }
        written += static_cast<std::size_t>(n);
    }
    // The bytes are in the system's hands now: a crash of the program loses
    // nothing. fdatasync keeps them through a power cut as well.
    if (fdatasync(fd_) != 0 && errno != EINVAL) {
        return fail("Cannot write to ");
    }
    return true;
}

void ResultsJournal::Close() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
}

}  // namespace tavrisk
