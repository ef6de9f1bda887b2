#include "files/NumberMerge.h"

#include "platform/AtomicFile.h"
#include "platform/Collation.h"
#include "platform/Error.h"
#include "platform/FileError.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace tavrisk {

namespace {

constexpr std::size_t kCopyBlock = 61440;

// Closes a descriptor when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    [[nodiscard]] int Get() const { return fd_; }

private:
    int fd_;
};

// Opens a regular file for reading; anything else cannot be opened.
int OpenForReading(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

// Whether the destination can be replaced: a missing file can be created in
// its folder (checked when the temporary file is made), an existing one must
// be a writable file.
bool DestinationWritable(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return errno == ENOENT;
    }
    return !S_ISDIR(st.st_mode) && access(path.c_str(), W_OK) == 0;
}

ssize_t ReadSome(int fd, char* data, std::size_t size) {
    for (;;) {
        const ssize_t n = read(fd, data, size);
        if (n >= 0 || errno != EINTR) {
            return n;
        }
    }
}

void WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowStreamWriteError();
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

// The whole content of a file, with one spare byte at the end.
struct Text {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
};

Text ReadWhole(const std::string& path, const std::string& shownPath) {
    const Fd fd(OpenForReading(path));
    if (fd.Get() < 0) {
        ThrowCannotOpenFile(shownPath);
    }
    struct stat st {};
    std::size_t capacity = fstat(fd.Get(), &st) == 0 ? static_cast<std::size_t>(st.st_size) + 1 : 1 << 16;
    Text text;
    text.bytes.reset(new char[capacity]);
    for (;;) {
        const std::size_t room = capacity - 1 - text.size;
        char probe[4096];
        // A full buffer reads into a probe first: only a file that grew
        // while it was read makes the buffer grow.
        char* const into = room > 0 ? text.bytes.get() + text.size : probe;
        const ssize_t n = ReadSome(fd.Get(), into, room > 0 ? room : sizeof probe);
        if (n < 0) {
            ThrowStreamReadError();
        }
        if (n == 0) {
            break;
        }
        if (into == probe) {
            capacity = capacity * 2 + static_cast<std::size_t>(n);
            auto bigger = std::make_unique<char[]>(capacity);
            std::memcpy(bigger.get(), text.bytes.get(), text.size);
            std::memcpy(bigger.get() + text.size, probe, static_cast<std::size_t>(n));
            text.bytes = std::move(bigger);
        }
        text.size += static_cast<std::size_t>(n);
    }
    return text;
}

// A line of the loaded text: where it starts (it ends at a 0x00 byte written
// over its line end) and its collation key.
struct Line {
    std::uint64_t key;
    std::size_t start;
};

// Cuts the text into lines in place by the loader's rules: CR LF, LF or a
// lone CR ends a line, a 0x00 byte ends the text, a line end at the very end
// adds no empty line. Each line end is overwritten with 0x00.
std::vector<Line> CutLines(Text& text) {
    char* const bytes = text.bytes.get();
    std::size_t size = text.size;
    if (const void* nul = std::memchr(bytes, '\0', size)) {
        size = static_cast<std::size_t>(static_cast<const char*>(nul) - bytes);
    }
    std::size_t ends = 0;
    for (std::size_t i = 0; i < size; ++i) {
        ends += static_cast<std::size_t>(bytes[i] == '\r' || bytes[i] == '\n');
    }
    std::vector<Line> lines;
    lines.reserve(ends + 1);
    std::size_t start = 0;
    auto add = [&](std::size_t end) {
        bytes[end] = '\0';
        lines.push_back({CollationKey(std::string_view(bytes + start, end - start)), start});
    };
    for (std::size_t i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            add(i);
            if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < size) {
        add(size);
    }
    return lines;
}

// Whether the destination is the same file as one of sources[from...].
bool IsAmongSources(const std::string& destination, const std::vector<std::string>& sources, std::size_t from) {
    struct stat dest {};
    if (stat(destination.c_str(), &dest) != 0) {
        return false;
    }
    for (std::size_t i = from; i < sources.size(); ++i) {
        struct stat st {};
        if (stat(sources[i].c_str(), &st) == 0 && st.st_dev == dest.st_dev && st.st_ino == dest.st_ino) {
            return true;
        }
    }
    return false;
}

}  // namespace

const std::string& MergeBusyText() {
    static const std::string text = ToGbk("数据正处理中...");
    return text;
}

std::string MergeDoneText(std::size_t count) {
    static const std::string prefix = ToGbk("文件合并整理完毕！共计：");
    return prefix + std::to_string(count);
}

JoinedFile::~JoinedFile() {
    if (!path_.empty()) {
        unlink(path_.c_str());
    }
}

void MergeCopy(const std::vector<std::string>& sources, const std::string& destination, JoinedFile& joined) {
    if (!DestinationWritable(destination)) {
        ThrowCannotCreateFile(destination);
    }
    std::string scratch = destination + ".merge-XXXXXX";
    const Fd out(mkstemp(scratch.data()));
    if (out.Get() < 0) {
        ThrowCannotCreateFile(destination);
    }
    joined.path_ = scratch;
    const auto block = std::make_unique<char[]>(kCopyBlock);
    for (const auto& source : sources) {
        const Fd in(OpenForReading(source));
        if (in.Get() < 0) {
            ThrowCannotOpenFile(source);
        }
        for (;;) {
            const ssize_t n = ReadSome(in.Get(), block.get(), kCopyBlock);
            if (n < 0) {
                ThrowStreamReadError();
            }
            if (n == 0) {
                break;
            }
            WriteAll(out.Get(), block.get(), static_cast<std::size_t>(n));
        }
        ++joined.sourcesCopied_;
    }
}

std::size_t MergeSort(const std::string& destination, const JoinedFile& joined) {
    Text text = ReadWhole(joined.Created() ? joined.Path() : destination, destination);
    std::vector<Line> lines = CutLines(text);
    const char* const bytes = text.bytes.get();
    auto view = [bytes](const Line& line) { return std::string_view(bytes + line.start); };

    // Sorted by the collation; among equal lines the earlier in the text
    // comes first, so the first of each run of equal lines is the one kept.
    std::sort(lines.begin(), lines.end(), [&](const Line& a, const Line& b) {
        if (a.key != b.key) {
            return a.key < b.key;
        }
        const int order = Collate(view(a), view(b));
        return order != 0 ? order < 0 : a.start < b.start;
    });
    const auto kept = std::unique(lines.begin(), lines.end(), [&](const Line& a, const Line& b) {
        return a.key == b.key && Collate(view(a), view(b)) == 0;
    });
    lines.erase(kept, lines.end());

    if (!DestinationWritable(destination)) {
        ThrowCannotCreateFile(destination);
    }
    AtomicFileWriter writer(destination);
    for (const auto& line : lines) {
        writer.Write(view(line));
        writer.Write("\r\n");
    }
    writer.Commit();
    return lines.size();
}

std::size_t MergeFiles(const std::vector<std::string>& sources, const std::string& destination,
                       const std::function<void(const std::string& gbkText)>& status) {
    JoinedFile joined;
    std::exception_ptr copyError;
    try {
        MergeCopy(sources, destination, joined);
    } catch (const SystemError&) {
        copyError = std::current_exception();
        if (IsAmongSources(destination, sources, joined.SourcesCopied())) {
            throw;
        }
    }
    const std::size_t count = MergeSort(destination, joined);
    status(MergeDoneText(count));
    if (copyError) {
        std::rethrow_exception(copyError);
    }
    return count;
}

void RunMergeCommand(MergeUi& ui) {
    const auto sources = ui.ChooseSources();
    if (!sources) {
        return;
    }
    const auto destination = ui.ChooseDestination();
    if (!destination || sources->empty()) {
        return;
    }
    // The pointer comes back however the merge ends.
    struct BusyPointer {
        MergeUi& ui;
        explicit BusyPointer(MergeUi& u) : ui(u) { ui.SetBusyPointer(true); }
        ~BusyPointer() { ui.SetBusyPointer(false); }
        BusyPointer(const BusyPointer&) = delete;
        BusyPointer& operator=(const BusyPointer&) = delete;
    } busy(ui);
    ui.SetStatusText(MergeBusyText());
    ui.RepaintNow();
    MergeFiles(*sources, *destination, [&ui](const std::string& text) { ui.SetStatusText(text); });
}

}  // namespace tavrisk
