#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/net/Reachability.h"

namespace platform {

// What reachability needs to know about one interface of the machine.
struct NetworkInterface {
    std::string name;
    bool up{false};  // administratively up and with a link
    bool loopback{false};
    bool hasAddress{false};  // an IPv4 or a routable IPv6 address
    bool cellular{false};

    bool usable() const { return up && !loopback && hasAddress; }
};

// The machine's interfaces now (getifaddrs); empty when they cannot be read.
std::vector<NetworkInterface> readNetworkInterfaces();
// Names modems and phone stacks give cellular links ("wwan0", "wwp0s20u4", "rmnet0", ...).
bool isCellularInterfaceName(std::string_view name);

NetworkStatus internetStatus(const std::vector<NetworkInterface>& interfaces);
NetworkStatus localWiFiStatus(const std::vector<NetworkInterface>& interfaces);

}  // namespace platform
