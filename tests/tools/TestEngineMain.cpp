// tavrisk-test-engine KEYWORD_FILE [PAGES [VERIFY_AFTER]]: the local test
// engine as a program, for trying tavrisk-harvest and for the soak script.
// Every line of the keyword file (GBK, trimmed) becomes a keyword with PAGES
// result pages (default 76). With VERIFY_AFTER, the requests after the first
// VERIFY_AFTER get the engine's verification page. Prints its host "127.0.0.1:PORT" and serves until SIGINT or
// SIGTERM, then prints how many pages it served.
#include "platform/StringList.h"
#include "tests/support/TestEngine.h"

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

std::string Trim(const std::string& line) {
    std::size_t begin = 0;
    std::size_t end = line.size();
    while (begin < end && static_cast<unsigned char>(line[begin]) <= 0x20) {
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(line[end - 1]) <= 0x20) {
        --end;
    }
    return line.substr(begin, end - begin);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::cerr << "Usage: tavrisk-test-engine KEYWORD_FILE [PAGES [VERIFY_AFTER]]\n";
        return 2;
    }
    const int pages = argc >= 3 ? std::atoi(argv[2]) : 76;
    const long verifyAfter = argc == 4 ? std::atol(argv[3]) : -1;
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);  // before the server thread starts
    try {
        tavrisk::StringList keywords;
        keywords.LoadFromFile(argv[1]);
        tavrisk::test::TestEngine engine;
        for (const std::string& line : keywords.Items()) {
            engine.AddKeyword(Trim(line), pages);
        }
        if (verifyAfter >= 0) {
            engine.RequireVerificationAfter(static_cast<std::size_t>(verifyAfter));
        }
        std::cout << engine.Host() << std::endl;
        int received = 0;
        sigwait(&signals, &received);
        std::cerr << "tavrisk-test-engine: " << engine.Requests().size() << " pages served\n";
    } catch (const std::exception& e) {
        std::cerr << "tavrisk-test-engine: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
