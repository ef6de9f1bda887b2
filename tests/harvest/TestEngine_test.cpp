// The local search engine that the harvest tests talk to must never be
// reachable from another machine: it listens on the loopback address only.
#include "tests/support/TestEngine.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

// The local addresses (hexadecimal, as the kernel lists them) of the IPv4
// and IPv6 sockets listening on port.
std::vector<std::string> ListeningAddresses(int port) {
    std::vector<std::string> found;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream in(table);
        std::string line;
        std::getline(in, line);  // the header
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string slot;
            std::string local;
            std::string remote;
            std::string state;
            fields >> slot >> local >> remote >> state;
            const auto colon = local.rfind(':');
            if (state == "0A" && colon != std::string::npos &&
                std::stoi(local.substr(colon + 1), nullptr, 16) == port) {
                found.push_back(local.substr(0, colon));
            }
        }
    }
    return found;
}

TEST(TestEngine, ListensOnTheLoopbackAddressOnly) {
    std::ifstream probe("/proc/net/tcp");
    if (!probe) {
        GTEST_SKIP() << "no /proc/net/tcp to read the listening sockets from";
    }
    test::TestEngine engine;
    EXPECT_EQ(engine.Host(), "127.0.0.1:" + std::to_string(engine.Port()));
    // 127.0.0.1 in the kernel's byte order.
    EXPECT_EQ(ListeningAddresses(engine.Port()), std::vector<std::string>{"0100007F"});
}

}  // namespace
}  // namespace tavrisk
