#include "cli/CliMain.h"

#include "cli/Commands.h"
#include "platform/Error.h"

#include <cstdio>
#include <iostream>
#include <string_view>

namespace tavrisk::cli {

namespace {

struct Entry {
    std::string_view name;
    CommandFn run;
    std::string_view summary;
};

// The subcommands, in the order --help lists them.
const Entry kCommands[] = {
    {"extract", RunExtract, "extract fax numbers from page text / 从网页文本提取传真号码"},
    {"url", RunUrl, "print the query URLs of a keyword list / 输出关键字的搜索网址"},
    {"keywords", RunKeywords, "build a keyword list / 生成关键词列表"},
    {"merge", RunMerge, "merge number files into one sorted file / 合并号码文件"},
};

void PrintUsage(std::ostream& out) {
    out << "Usage: tavrisk-cli COMMAND [OPTIONS] [ARGS]\n"
           "用法：tavrisk-cli 命令 [选项] [参数]\n\nCommands:\n";
    for (const auto& c : kCommands) {
        out << "  " << c.name << "\t" << c.summary << "\n";
    }
    out << "\n'tavrisk-cli COMMAND --help' explains a command.\n";
}

}  // namespace

int Run(const std::vector<std::string>& argv, Io& io) {
    if (argv.size() < 2 || argv[1] == "--help" || argv[1] == "-h") {
        PrintUsage(argv.size() < 2 ? io.err : io.out);
        return argv.size() < 2 ? 2 : 0;
    }
    for (const auto& c : kCommands) {
        if (argv[1] == c.name) {
            const std::vector<std::string> args(argv.begin() + 2, argv.end());
            try {
                return c.run(args, io);
            } catch (const SystemError& e) {
                // The system's message, as the error box would show it.
                io.err << "tavrisk-cli " << c.name << ": " << ErrorBoxText(e.Message()) << "\n";
                return 1;
            }
        }
    }
    io.err << "tavrisk-cli: unknown command '" << argv[1] << "'\n";
    PrintUsage(io.err);
    return 2;
}

int Main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv, argv + argc);
    Io io{std::cin, std::cout, std::cerr};
    const int status = Run(args, io);
    std::cout.flush();
    return status;
}

}  // namespace tavrisk::cli
