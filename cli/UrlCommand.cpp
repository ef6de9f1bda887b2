// tavrisk-cli url: the query URLs of a keyword list's result pages.
#include "cli/Commands.h"

#include "harvest/QueryUrl.h"
#include "platform/StringList.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace tavrisk::cli {

namespace {

constexpr int kMaxPages = 76;  // the most result pages a search visits per keyword

void PrintUrlUsage(std::ostream& out) {
    out << "Usage: tavrisk-cli url [--host HOST] [--pages N] [FILE]\n"
           "用法：tavrisk-cli url [--host 主机] [--pages 页数] [文件]\n\n"
           "Prints the URLs of the first N result pages (default 1) of every line of\n"
           "the keyword list FILE (standard input when none), one per line.\n"
           "  --host HOST  the search engine's host (default "
        << kDefaultSearchHost
        << ")\n"
           "  --pages N    result pages per keyword, 1 to 76 (default 1)\n";
}

int UsageError(Io& io, const std::string& message) {
    io.err << "tavrisk-cli url: " << message << "\n";
    PrintUrlUsage(io.err);
    return 2;
}

// 1..kMaxPages written in decimal digits, or 0.
int ParsePages(const std::string& text) {
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    const int pages = std::stoi(text);
    return pages <= kMaxPages ? pages : 0;
}

class UrlPrinter {
public:
    UrlPrinter(std::ostream& out, std::string_view host, int pages) : out_(out), host_(host), pages_(pages) {}

    void Print(const std::vector<std::string>& lines) {
        for (const auto& line : lines) {
            const std::string base = BuildQueryBase(line, host_);
            for (int page = 0; page < pages_; ++page) {
                const std::string url = BuildPageUrl(base, page * 10);
                out_.write(url.data(), static_cast<std::streamsize>(url.size()));
                out_.put('\n');
            }
        }
    }

private:
    std::ostream& out_;
    std::string_view host_;
    int pages_;
};

}  // namespace

int RunUrl(const std::vector<std::string>& args, Io& io) {
    std::string host(kDefaultSearchHost);
    int pages = 1;
    std::optional<std::string> file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            PrintUrlUsage(io.out);
            return 0;
        }
        if (arg == "--host" || arg == "--pages") {
            if (i + 1 == args.size()) {
                return UsageError(io, arg + " needs a value");
            }
            const std::string& value = args[++i];
            if (arg == "--host") {
                if (value.empty()) {
                    return UsageError(io, "the host is empty");
                }
                host = value;
            } else {
                pages = ParsePages(value);
                if (pages == 0) {
                    return UsageError(io, "--pages takes a number from 1 to 76, not '" + value + "'");
                }
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError(io, "unknown option '" + arg + "'");
        } else if (file) {
            return UsageError(io, "one keyword list file at most");
        } else {
            file = arg;
        }
    }

    UrlPrinter printer(io.out, host, pages);
    if (file && *file != "-") {
        StringList keywords;
        keywords.LoadFromFile(*file);
        printer.Print(keywords.Items());
    } else {
        // Standard input, block by block, by the same line rules.
        std::vector<std::string> lines;
        LooseLineSplitter splitter(lines);
        std::vector<char> block(1 << 16);
        bool more = true;
        while (more && io.in) {
            io.in.read(block.data(), static_cast<std::streamsize>(block.size()));
            const auto n = static_cast<std::size_t>(io.in.gcount());
            if (n == 0) {
                break;
            }
            more = splitter.Feed(std::string_view(block.data(), n));
            printer.Print(lines);
            lines.clear();
        }
        splitter.Finish();
        printer.Print(lines);
    }
    io.out.flush();
    return 0;
}

}  // namespace tavrisk::cli
