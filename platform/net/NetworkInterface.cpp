#include "platform/net/NetworkInterface.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <fstream>

namespace platform {

namespace {

// The kernel marks modem links this way whatever their name.
bool sysfsSaysCellular(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos)
        return false;
    std::ifstream uevent("/sys/class/net/" + name + "/uevent");
    std::string line;
    while (std::getline(uevent, line)) {
        if (line == "DEVTYPE=wwan")
            return true;
    }
    return false;
}

bool isRoutableAddress(const sockaddr* address) {
    if (!address)
        return false;
    if (address->sa_family == AF_INET)
        return true;
    if (address->sa_family == AF_INET6) {
        // Every IPv6 link gets a link-local address by itself; it reaches nothing beyond.
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
        return !IN6_IS_ADDR_LINKLOCAL(&v6->sin6_addr) && !IN6_IS_ADDR_LOOPBACK(&v6->sin6_addr);
    }
    return false;
}

}  // namespace

bool isCellularInterfaceName(std::string_view name) {
    static constexpr std::array<std::string_view, 5> prefixes{"wwan", "wwp", "rmnet", "ccmni",
                                                              "pdp_ip"};
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](std::string_view prefix) { return name.starts_with(prefix); });
}

std::vector<NetworkInterface> readNetworkInterfaces() {
    std::vector<NetworkInterface> interfaces;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return interfaces;
    for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_name)
            continue;
        std::string name(entry->ifa_name);
        auto found = std::find_if(interfaces.begin(), interfaces.end(),
                                  [&](const NetworkInterface& i) { return i.name == name; });
        if (found == interfaces.end()) {
            NetworkInterface fresh;
            fresh.name = name;
            interfaces.push_back(std::move(fresh));
            found = std::prev(interfaces.end());
        }
        const unsigned flags = entry->ifa_flags;
        found->up = (flags & IFF_UP) && (flags & IFF_RUNNING);
        found->loopback = found->loopback || (flags & IFF_LOOPBACK);
        found->hasAddress = found->hasAddress || isRoutableAddress(entry->ifa_addr);
    }
    freeifaddrs(list);
    for (auto& i : interfaces)
        i.cellular = isCellularInterfaceName(i.name) || sysfsSaysCellular(i.name);
    return interfaces;
}

NetworkStatus internetStatus(const std::vector<NetworkInterface>& interfaces) {
    // The phone prefers Wi-Fi whenever it has it.
    bool cellular = false;
    for (const auto& i : interfaces) {
        if (!i.usable())
            continue;
        if (!i.cellular)
            return NetworkStatus::ReachableViaWiFi;
        cellular = true;
    }
    return cellular ? NetworkStatus::ReachableViaWWAN : NetworkStatus::NotReachable;
}

NetworkStatus localWiFiStatus(const std::vector<NetworkInterface>& interfaces) {
    for (const auto& i : interfaces) {
        if (i.usable() && !i.cellular)
            return NetworkStatus::ReachableViaWiFi;
    }
    return NetworkStatus::NotReachable;
}

}  // namespace platform
