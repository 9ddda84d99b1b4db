#include <gtest/gtest.h>

#include "platform/net/NetworkInterface.h"
#include "platform/net/Reachability.h"

using namespace platform;

namespace {

class ReachabilityTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (auto kind : {Reachability::Kind::Host, Reachability::Kind::Internet,
                          Reachability::Kind::LocalWiFi})
            Reachability::setOverride(kind, std::nullopt);
    }
};

NetworkInterface interface(std::string name, bool up = true, bool loopback = false,
                           bool hasAddress = true) {
    NetworkInterface i;
    i.name = std::move(name);
    i.up = up;
    i.loopback = loopback;
    i.hasAddress = hasAddress;
    i.cellular = isCellularInterfaceName(i.name);
    return i;
}

TEST_F(ReachabilityTest, OverridesAnswerUntilRestored) {
    Reachability::setOverride(Reachability::Kind::Internet, NetworkStatus::ReachableViaWWAN);
    Reachability::setOverride(Reachability::Kind::LocalWiFi, NetworkStatus::NotReachable);
    EXPECT_EQ(Reachability::forInternetConnection(), NetworkStatus::ReachableViaWWAN);
    EXPECT_EQ(Reachability::forLocalWiFi(), NetworkStatus::NotReachable);

    Reachability::setOverride(Reachability::Kind::Internet, std::nullopt);
    EXPECT_EQ(Reachability::forInternetConnection(), internetStatus(readNetworkInterfaces()));
}

TEST_F(ReachabilityTest, HostFollowsTheInternetAnswerUnlessOverriddenItself) {
    Reachability::setOverride(Reachability::Kind::Internet, NetworkStatus::NotReachable);
    EXPECT_EQ(Reachability::forHost("www.lanxi-campus.example"), NetworkStatus::NotReachable);
    Reachability::setOverride(Reachability::Kind::Internet, NetworkStatus::ReachableViaWiFi);
    EXPECT_EQ(Reachability::forHost("www.lanxi-campus.example"), NetworkStatus::ReachableViaWiFi);
    EXPECT_EQ(Reachability::forHost(""), NetworkStatus::NotReachable) << "no name, no host";

    Reachability::setOverride(Reachability::Kind::Host, NetworkStatus::ReachableViaWWAN);
    EXPECT_EQ(Reachability::forHost("www.lanxi-campus.example"), NetworkStatus::ReachableViaWWAN);
    EXPECT_EQ(Reachability::forInternetConnection(), NetworkStatus::ReachableViaWiFi);
}

TEST_F(ReachabilityTest, InterfacesDecideBetweenWiFiCellularAndNothing) {
    NetworkInterface lo = interface("lo", true, true);
    // Any non-cellular link counts as Wi-Fi and wins over cellular.
    std::vector<NetworkInterface> wired{lo, interface("rmnet0"), interface("eth0")};
    EXPECT_EQ(internetStatus(wired), NetworkStatus::ReachableViaWiFi);
    EXPECT_EQ(localWiFiStatus(wired), NetworkStatus::ReachableViaWiFi);
    // Cellular alone reaches the internet but not the local Wi-Fi.
    std::vector<NetworkInterface> cellular{lo, interface("wwan0"), interface("wlan0", false)};
    EXPECT_EQ(internetStatus(cellular), NetworkStatus::ReachableViaWWAN);
    EXPECT_EQ(localWiFiStatus(cellular), NetworkStatus::NotReachable);
    // Loopback, links that are down and links without an address reach nothing.
    std::vector<NetworkInterface> none{lo, interface("eth0", false),
                                       interface("wlan0", true, false, false)};
    EXPECT_EQ(internetStatus(none), NetworkStatus::NotReachable);
    EXPECT_EQ(localWiFiStatus(none), NetworkStatus::NotReachable);
    EXPECT_EQ(internetStatus({}), NetworkStatus::NotReachable);
}

}  // namespace
