#pragma once

#include <netinet/in.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrisk {

// The two system calls the local address look-up makes, so tests can give it
// any host name and address list.
class HostResolver {
public:
    virtual ~HostResolver() = default;
    // gethostname: the host name into buffer (size bytes, the terminating
    // zero included); false when it cannot be read or does not fit.
    virtual bool HostName(char* buffer, std::size_t size) = 0;
    // The IPv4 addresses the name resolves to, in the order found; empty when
    // the look-up fails.
    virtual std::vector<in_addr> LookUp(const char* name) = 0;
};

// gethostname and getaddrinfo (AF_INET).
HostResolver& SystemHostResolver();

// The size of the host name buffer, the terminating zero included.
inline constexpr std::size_t kHostNameBufferSize = 64;

// The dotted-decimal text of the last IPv4 address of this computer's host
// name, or the empty text when the name cannot be read, does not fit in
// kHostNameBufferSize bytes or resolves to nothing.
std::string GetLocalAddress(HostResolver& resolver);
std::string GetLocalAddress();

// The loopback address that marks the computer as off line.
inline constexpr std::string_view kOfflineAddress = "127.0.0.1";

// The check before a search: when localAddress is exactly "127.0.0.1", shows
// the off-line message (GBK) through inform and gives false, and the search
// must not start; any other address, the empty text included, gives true.
bool CheckConnectivity(std::string_view localAddress, const std::function<void(const std::string&)>& inform);

// "您还没有连接到网上！" in GBK.
const std::string& OfflineMessage();

}  // namespace tavrisk
