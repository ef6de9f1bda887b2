// tavrisk-cli extract: the harvest's extraction over page text in files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Commands.h"
#include "harvest/FaxExtractor.h"
#include "harvest/PageLines.h"
#include "harvest/SeenNumbers.h"
#include "platform/FileError.h"

namespace tavrisk::cli {

namespace {

constexpr std::string_view kHelp =
    "Usage: tavrisk-cli extract [--dedupe] [FILE...]\n"
    "用法：tavrisk-cli extract [--dedupe] [文件...]\n"
    "\n"
    "Reads the text of result pages (GBK bytes), one page per FILE, or one page\n"
    "from standard input when no FILE is given (\"-\" also stands for it), finds\n"
    "the fax numbers behind the fax labels and prints each new number on its own\n"
    "line. A bare line feed counts as CR LF; of a line only its first 4096 bytes\n"
    "are read.\n"
    "读取搜索结果网页的文本（GBK 编码），每个文件为一页；未给出文件时从标准输入\n"
    "读取一页（\"-\" 也表示标准输入）。找出传真标记后面的传真号码，每个新号码输出\n"
    "一行。单独的换行符按回车换行处理；每行只读取前 4096 个字节。\n"
    "\n"
    "  --dedupe   remember every number printed and never print it again in\n"
    "             this call (the \"去重\" option)\n"
    "             记住已输出的号码，本次调用中不再重复输出（即“去重”选项）\n"
    "  --help     show this text / 显示本说明\n";

constexpr std::size_t kBlockSize = std::size_t{1} << 20;
constexpr std::size_t kOutputFlushSize = std::size_t{1} << 16;

// Runs the extraction on every line a page stream hands over and collects
// the numbers appended, each followed by LF, for standard output.
class ExtractToOutput final : public PageLineReceiver, public NumberSink {
public:
    ExtractToOutput(bool dedupe, std::ostream& out) : dedupe_(dedupe), out_(out) {}

    void OnLine(std::string_view line) override { extractor_.ExtractLine(line, seen_, dedupe_, *this); }

    void AppendNumber(const std::string& number) override {
        buffer_.append(number);
        buffer_.push_back('\n');
        if (buffer_.size() >= kOutputFlushSize) {
            Flush();
        }
    }

    void Flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
        if (!out_) {
            ThrowStreamWriteError();
        }
    }

private:
    bool dedupe_;
    std::ostream& out_;
    FaxExtractor extractor_;
    // One memory for the whole call: a number recorded on one page is known on the next.
    SeenNumbers seen_;
    std::string buffer_;
};

// Closes a file descriptor when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() { ::close(fd_); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    [[nodiscard]] int Get() const { return fd_; }

private:
    int fd_;
};

void ExtractFromFile(const std::string& path, std::vector<char>& block, ExtractToOutput& target) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ThrowCannotOpenFile(path);
    }
    const FileHandle file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ThrowCannotOpenFile(path);
    }
    PageLineStream page(PageLineStream::Lines::MayHoldFaxLabel);
    while (true) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowStreamReadError();
        }
        if (got == 0) {
            break;
        }
        page.Feed(std::string_view(block.data(), static_cast<std::size_t>(got)), target);
    }
    page.Finish(target);
}

void ExtractFromStream(std::istream& in, std::vector<char>& block, ExtractToOutput& target) {
    PageLineStream page(PageLineStream::Lines::MayHoldFaxLabel);
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const std::streamsize got = in.gcount();
        if (got > 0) {
            page.Feed(std::string_view(block.data(), static_cast<std::size_t>(got)), target);
        }
    }
    if (in.bad()) {
        ThrowStreamReadError();
    }
    page.Finish(target);
}

}  // namespace

int RunExtract(const std::vector<std::string>& args, Io& io) {
    bool dedupe = false;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--dedupe") {
            dedupe = true;
        } else if (arg == "--help" || arg == "-h") {
            io.out << kHelp;
            return 0;
        } else {
            io.err << "tavrisk-cli extract: unknown option '" << arg << "'\n"
                   << "'tavrisk-cli extract --help' explains the command.\n";
            return 2;
        }
    }
    if (files.empty()) {
        files.emplace_back("-");
    }

    ExtractToOutput target(dedupe, io.out);
    std::vector<char> block(kBlockSize);
    for (const std::string& file : files) {
        if (file == "-") {
            ExtractFromStream(io.in, block, target);
        } else {
            ExtractFromFile(file, block, target);
        }
        target.Flush();
    }
    return 0;
}

}  // namespace tavrisk::cli
