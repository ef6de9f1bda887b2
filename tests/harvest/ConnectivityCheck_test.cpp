#include "harvest/ConnectivityCheck.h"

#include "tests/support/TestSupport.h"

#include <arpa/inet.h>

#include <cstring>

#include <gtest/gtest.h>

namespace tavrisk {
namespace {

// A host name and its addresses, with the system calls' behaviour: a name
// that does not fit the buffer fails as gethostname does.
class FakeResolver : public HostResolver {
public:
    FakeResolver(std::string name, std::vector<std::string> addresses, bool nameReadable = true)
        : name_(std::move(name)), addresses_(std::move(addresses)), nameReadable_(nameReadable) {}

    bool HostName(char* buffer, std::size_t size) override {
        bufferSize = size;
        if (!nameReadable_) {
            return false;
        }
        const std::size_t n = std::min(size, name_.size());
        std::memcpy(buffer, name_.data(), n);  // cut, without its zero
        return name_.size() < size;
    }

    std::vector<in_addr> LookUp(const char* name) override {
        lookedUp = name;
        std::vector<in_addr> list;
        for (const auto& text : addresses_) {
            in_addr a{};
            EXPECT_EQ(inet_pton(AF_INET, text.c_str(), &a), 1) << text;
            list.push_back(a);
        }
        return list;
    }

    std::size_t bufferSize = 0;
    std::string lookedUp = "<none>";

private:
    std::string name_;
    std::vector<std::string> addresses_;
    bool nameReadable_;
};

TEST(ConnectivityCheck, LocalAddressIsTheLastAddressFound) {
    struct Case {
        std::string name;
        std::vector<std::string> addresses;
        std::string result;
    };
    const Case cases[] = {
        {"loopback alone", {"127.0.0.1"}, "127.0.0.1"},
        {"several ending in loopback", {"192.168.1.5", "10.0.0.2", "127.0.0.1"}, "127.0.0.1"},
        {"several ending elsewhere", {"127.0.0.1", "10.0.0.2", "192.168.1.5"}, "192.168.1.5"},
        {"other loopback", {"127.0.0.2"}, "127.0.0.2"},
        {"none", {}, ""},
        {"highest address", {"255.255.255.255"}, "255.255.255.255"},
    };
    for (const auto& c : cases) {
        FakeResolver resolver("desk", c.addresses);
        EXPECT_EQ(GetLocalAddress(resolver), c.result) << c.name;
        EXPECT_EQ(resolver.lookedUp, "desk") << c.name;
        EXPECT_EQ(resolver.bufferSize, 64U) << c.name;
    }
}

TEST(ConnectivityCheck, ANameThatCannotBeReadGivesTheEmptyText) {
    FakeResolver fits(std::string(63, 'h'), {"127.0.0.1"});
    EXPECT_EQ(GetLocalAddress(fits), "127.0.0.1");
    EXPECT_EQ(fits.lookedUp, std::string(63, 'h'));

    FakeResolver tooLong(std::string(64, 'h'), {"127.0.0.1"});
    EXPECT_EQ(GetLocalAddress(tooLong), "");
    EXPECT_EQ(tooLong.lookedUp, "<none>");

    FakeResolver unreadable("desk", {"127.0.0.1"}, false);
    EXPECT_EQ(GetLocalAddress(unreadable), "");
}

TEST(ConnectivityCheck, OnlyTheExactLoopbackTextStopsTheSearch) {
    const std::pair<std::string, bool> cases[] = {
        {"127.0.0.1", false}, {"127.0.0.2", true},  {"", true},           {"192.168.1.5", true},
        {"127.0.0.10", true}, {" 127.0.0.1", true}, {"127.0.0.1 ", true},
    };
    for (const auto& [address, goesOn] : cases) {
        std::vector<std::string> shown;
        EXPECT_EQ(CheckConnectivity(address, [&](const std::string& text) { shown.push_back(text); }), goesOn)
            << address;
        if (goesOn) {
            EXPECT_TRUE(shown.empty()) << address;
        } else {
            EXPECT_EQ(shown, std::vector<std::string>{test::G("您还没有连接到网上！")});
        }
    }
}

}  // namespace
}  // namespace tavrisk
