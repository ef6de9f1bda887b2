#pragma once

#include "cli/CliMain.h"

namespace tavrisk::cli {

// Each subcommand lives in its own file (ExtractCommand.cpp, UrlCommand.cpp, ...).
int RunExtract(const std::vector<std::string>& args, Io& io);
int RunUrl(const std::vector<std::string>& args, Io& io);
int RunKeywords(const std::vector<std::string>& args, Io& io);
int RunMerge(const std::vector<std::string>& args, Io& io);

}  // namespace tavrisk::cli
