#pragma once

#include "cli/CliMain.h"

#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrisk::cli {

// What one run of tavrisk-cli gave: its exit status and both output streams.
struct CliResult {
    int status;
    std::string out;
    std::string err;
};

// Runs "tavrisk-cli COMMAND ARGS..." in memory, with input on standard input.
inline CliResult RunCommand(std::string_view command, std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {"tavrisk-cli", std::string(command)});
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    Io io{in, out, err};
    const int status = Run(args, io);
    return {status, out.str(), err.str()};
}

}  // namespace tavrisk::cli
