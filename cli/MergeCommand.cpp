// tavrisk-cli merge: joins number files into one sorted file without
// duplicates, as the merge command of the program does.
#include "cli/Commands.h"
#include "files/NumberMerge.h"
#include "platform/Error.h"
#include "platform/TextCodec.h"

#include <ostream>

namespace tavrisk::cli {

namespace {

void PrintMergeUsage(std::ostream& out) {
    out << "Usage: tavrisk-cli merge -o DEST SOURCE...\n"
           "用法：tavrisk-cli merge -o 目标文件 源文件...\n\n"
           "Joins the SOURCE files in the given order, sorts their lines and drops\n"
           "duplicates, and writes the result to DEST with CR LF line ends. DEST may be\n"
           "one of the sources. Prints the final status line.\n";
}

}  // namespace

int RunMerge(const std::vector<std::string>& args, Io& io) {
    std::string destination;
    std::vector<std::string> sources;
    bool haveDestination = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            PrintMergeUsage(io.out);
            return 0;
        }
        if (arg == "-o") {
            if (i + 1 == args.size() || haveDestination) {
                PrintMergeUsage(io.err);
                return 2;
            }
            destination = args[++i];
            haveDestination = true;
        } else if (arg == "--") {
            sources.insert(sources.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else if (arg.size() > 1 && arg[0] == '-') {
            io.err << "tavrisk-cli merge: unknown option '" << arg << "'\n";
            PrintMergeUsage(io.err);
            return 2;
        } else {
            sources.push_back(arg);
        }
    }
    if (!haveDestination || destination.empty() || sources.empty()) {
        PrintMergeUsage(io.err);
        return 2;
    }
    try {
        MergeFiles(sources, destination, [&io](const std::string& text) { io.out << FromGbk(text) << "\n"; });
    } catch (const SystemError& e) {
        // The status line, if any, is already out; the error names the file.
        io.err << "tavrisk-cli merge: " << FromGbk(ErrorBoxText(e.Message())) << "\n";
        return 1;
    }
    return 0;
}

}  // namespace tavrisk::cli
