// tavrisk-cli keywords PRODUCTS_FILE MARKERS_FILE: the keyword list that the
// builder dialog's Create makes, from the lines of two files.
#include "cli/Commands.h"

#include "files/KeywordBuilder.h"
#include "platform/StringList.h"

#include <ostream>

namespace tavrisk::cli {

namespace {

void PrintKeywordsUsage(std::ostream& out) {
    out << "Usage: tavrisk-cli keywords PRODUCTS_FILE MARKERS_FILE\n"
           "用法：tavrisk-cli keywords 产品分类词语文件 传真搜索标志文件\n\n"
           "Prints every line of PRODUCTS_FILE followed by a space and every line of\n"
           "MARKERS_FILE (products outer, markers inner), each line ended by CR LF.\n"
           "Both files and the output are GBK text; lines end at CR LF, LF or CR.\n";
}

}  // namespace

int RunKeywords(const std::vector<std::string>& args, Io& io) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        PrintKeywordsUsage(io.out);
        return 0;
    }
    if (args.size() != 2) {
        PrintKeywordsUsage(io.err);
        return 2;
    }
    StringList products;
    products.LoadFromFile(args[0]);
    StringList markers;
    markers.LoadFromFile(args[1]);
    io.out << CombineKeywords(products.Items(), markers.Items());
    io.out.flush();
    if (!io.out) {
        io.err << "tavrisk-cli keywords: Stream write error\n";
        return 1;
    }
    return 0;
}

}  // namespace tavrisk::cli
