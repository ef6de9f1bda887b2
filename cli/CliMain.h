#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tavrisk::cli {

// The streams a command works on, so tests can run commands in memory.
struct Io {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// A subcommand: its arguments after the subcommand's name; returns the exit status.
using CommandFn = int (*)(const std::vector<std::string>& args, Io& io);

// Runs tavrisk-cli with argv on the given streams.
int Run(const std::vector<std::string>& argv, Io& io);
// The program's entry point over the process's standard streams.
int Main(int argc, char** argv);

}  // namespace tavrisk::cli
