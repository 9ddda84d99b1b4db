#include "platform/net/Reachability.h"

#include <array>
#include <mutex>

#include "platform/net/NetworkInterface.h"

namespace platform {

namespace {

std::mutex g_overrideMutex;
std::array<std::optional<NetworkStatus>, 3> g_overrides;

std::optional<NetworkStatus> overrideFor(Reachability::Kind kind) {
    std::lock_guard lock(g_overrideMutex);
    return g_overrides[static_cast<size_t>(kind)];
}

}  // namespace

NetworkStatus Reachability::forHost(const std::string& hostName) {
    if (auto forced = overrideFor(Kind::Host))
        return *forced;
    if (hostName.empty())
        return NetworkStatus::NotReachable;
    return forInternetConnection();
}

NetworkStatus Reachability::forInternetConnection() {
    if (auto forced = overrideFor(Kind::Internet))
        return *forced;
    return internetStatus(readNetworkInterfaces());
}

NetworkStatus Reachability::forLocalWiFi() {
    if (auto forced = overrideFor(Kind::LocalWiFi))
        return *forced;
    return localWiFiStatus(readNetworkInterfaces());
}

void Reachability::setOverride(Kind kind, std::optional<NetworkStatus> status) {
    std::lock_guard lock(g_overrideMutex);
    g_overrides[static_cast<size_t>(kind)] = status;
}

}  // namespace platform
