#include "harvest/ConnectivityCheck.h"

#include "platform/TextCodec.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstring>

namespace tavrisk {

namespace {

class PosixHostResolver : public HostResolver {
public:
    bool HostName(char* buffer, std::size_t size) override { return gethostname(buffer, size) == 0; }

    std::vector<in_addr> LookUp(const char* name) override {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;  // one entry per address
        addrinfo* list = nullptr;
        std::vector<in_addr> addresses;
        if (getaddrinfo(name, nullptr, &hints, &list) != 0) {
            return addresses;
        }
        for (const addrinfo* ai = list; ai != nullptr; ai = ai->ai_next) {
            if (ai->ai_family == AF_INET && ai->ai_addr != nullptr) {
                sockaddr_in sin{};
                std::memcpy(&sin, ai->ai_addr, sizeof sin);
                addresses.push_back(sin.sin_addr);
            }
        }
        freeaddrinfo(list);
        return addresses;
    }
};

}  // namespace

HostResolver& SystemHostResolver() {
    static PosixHostResolver resolver;
    return resolver;
}

std::string GetLocalAddress(HostResolver& resolver) {
    std::string result;
    std::array<char, kHostNameBufferSize> name{};
    if (!resolver.HostName(name.data(), name.size())) {
        return result;
    }
    name.back() = '\0';  // a name cut to fit may come without its zero
    for (const in_addr& address : resolver.LookUp(name.data())) {
        std::array<char, INET_ADDRSTRLEN> text{};
        if (inet_ntop(AF_INET, &address, text.data(), text.size()) != nullptr) {
            result = text.data();
        }
    }
    return result;
}

std::string GetLocalAddress() {
    return GetLocalAddress(SystemHostResolver());
}

const std::string& OfflineMessage() {
    static const std::string message = ToGbk("您还没有连接到网上！");
    return message;
}

bool CheckConnectivity(std::string_view localAddress, const std::function<void(const std::string&)>& inform) {
    if (localAddress == kOfflineAddress) {
        inform(OfflineMessage());
        return false;
    }
    return true;
}

}  // namespace tavrisk
