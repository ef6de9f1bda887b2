// Subcommands not written yet. Each helper deletes its own line when its
// command file lands.
#include "cli/Commands.h"

#include <ostream>

namespace tavrisk::cli {

namespace {
int NotYet(Io& io) {
    io.err << "tavrisk-cli: this command is not available yet\n";
    return 2;
}
}  // namespace

int RunExtract(const std::vector<std::string>& /*args*/, Io& io) {
    return NotYet(io);
}
int RunUrl(const std::vector<std::string>& /*args*/, Io& io) {
    return NotYet(io);
}
int RunKeywords(const std::vector<std::string>& /*args*/, Io& io) {
    return NotYet(io);
}

}  // namespace tavrisk::cli
