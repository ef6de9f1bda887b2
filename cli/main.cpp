#include "cli/CliMain.h"

int main(int argc, char** argv) {
    return tavrisk::cli::Main(argc, argv);
}
