#pragma once

#include <optional>
#include <string>

namespace platform {

enum class NetworkStatus { NotReachable, ReachableViaWiFi, ReachableViaWWAN };

// Answers from the machine's network interfaces, the way the phone answers from its routes:
// nothing is looked up and no packet is sent.
class Reachability {
public:
    // A route to a named host exists: the internet answer (an empty name is not reachable).
    static NetworkStatus forHost(const std::string& hostName);
    // Wi-Fi when any usable non-cellular interface exists, else WWAN when a cellular one does.
    static NetworkStatus forInternetConnection();
    // Wi-Fi when any usable non-cellular interface exists; cellular does not count.
    static NetworkStatus forLocalWiFi();

    enum class Kind { Host, Internet, LocalWiFi };
    // Tests inject answers; nullopt restores the real reading. A Host override wins for every
    // host name; without one, forHost follows the Internet answer, overridden or not.
    static void setOverride(Kind kind, std::optional<NetworkStatus> status);
};

}  // namespace platform
