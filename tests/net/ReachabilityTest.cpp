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
    EXPECT_EQ(Reachability::forHost("www.example.edu"), NetworkStatus::NotReachable);
    Reachability::setOverride(Reachability::Kind::Internet, NetworkStatus::ReachableViaWiFi);
    EXPECT_EQ(Reachability::forHost("www.example.edu"), NetworkStatus::ReachableViaWiFi);
    EXPECT_EQ(Reachability::forHost(""), NetworkStatus::NotReachable) << "no name, no host";

    Reachability::setOverride(Reachability::Kind::Host, NetworkStatus::ReachableViaWWAN);
    EXPECT_EQ(Reachability::forHost("www.example.edu"), NetworkStatus::ReachableViaWWAN);
    EXPECT_EQ(Reachability::forInternetConnection(), NetworkStatus::ReachableViaWiFi);
}

TEST_F(ReachabilityTest, AnyNonCellularLinkCountsAsWiFiAndWins) {
    std::vector<NetworkInterface> machine{interface("lo", true, true), interface("rmnet0"),
                                          interface("eth0")};
    EXPECT_EQ(internetStatus(machine), NetworkStatus::ReachableViaWiFi);
    EXPECT_EQ(localWiFiStatus(machine), NetworkStatus::ReachableViaWiFi);
}

TEST_F(ReachabilityTest, CellularOnlyReachesTheInternetButNotLocalWiFi) {
    std::vector<NetworkInterface> machine{interface("lo", true, true), interface("wwan0"),
                                          interface("wlan0", false)};
    EXPECT_EQ(internetStatus(machine), NetworkStatus::ReachableViaWWAN);
    EXPECT_EQ(localWiFiStatus(machine), NetworkStatus::NotReachable);
}

TEST_F(ReachabilityTest, LoopbackDownOrAddresslessLinksReachNothing) {
    std::vector<NetworkInterface> machine{interface("lo", true, true), interface("eth0", false),
                                          interface("wlan0", true, false, false)};
    EXPECT_EQ(internetStatus(machine), NetworkStatus::NotReachable);
    EXPECT_EQ(localWiFiStatus(machine), NetworkStatus::NotReachable);
    EXPECT_EQ(internetStatus({}), NetworkStatus::NotReachable);
}

}  // namespace
