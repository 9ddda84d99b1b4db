#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/DeviceCommand.h"
#include "platform/devices/LocationDevice.h"
#include "platform/devices/LocationManager.h"
#include "platform/devices/LocationManagerDelegate.h"
#include "platform/foundation/Files.h"
#include "platform/testing/UiTestScope.h"
#include "tests/support/TempHome.h"

namespace frontend {
namespace {

struct FixRecorder : platform::LocationManagerDelegate {
    void didUpdateLocations(platform::LocationManager&,
                            const std::vector<platform::Location>& fixes) override {
        locations.insert(locations.end(), fixes.begin(), fixes.end());
    }
    std::vector<platform::Location> locations;
};

TEST(DeviceCommands, AReplayFeedsTheFileOneFixEachIntervalOrSaysWhyNot) {
    testsupport::TempHome home;
    platform::testing::UiTestScope scope;
    auto& device = platform::LocationDevice::shared();
    device.reset();
    device.setAuthorizationStatus(platform::LocationAuthorizationStatus::AuthorizedWhenInUse);
    auto recorder = std::make_shared<FixRecorder>();
    platform::LocationManager manager;
    manager.setDelegate(recorder);
    manager.startUpdatingLocation();

    DeviceCommand replay;
    replay.action = DeviceCommand::Action::LocationReplay;
    replay.path = (home.path() / "missing.txt").string();
    replay.interval = 2;
    auto missing = performDeviceCommand(replay);
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.empty());

    replay.path = (home.path() / "walk.txt").string();
    ASSERT_TRUE(platform::writeFileAtomically(replay.path, "30.27 120.15\n30.271 120.15 12\n"));
    ASSERT_TRUE(performDeviceCommand(replay).ok);
    scope.advance(0);
    ASSERT_EQ(recorder->locations.size(), 1u);
    scope.advance(2);
    ASSERT_EQ(recorder->locations.size(), 2u);
    EXPECT_EQ(recorder->locations[1].coordinate.latitude, 30.271);
    EXPECT_EQ(recorder->locations[1].horizontalAccuracy, 12);
    device.reset();
}

TEST(DeviceCommands, AReplayIntervalPastTheClocksRangeIsRefusedNotWrapped) {
    testsupport::TempHome home;
    platform::testing::UiTestScope scope;
    std::string error;
    EXPECT_FALSE(parseDeviceCommand({"location", "replay", "walk.txt", "1e10"}, error));
    EXPECT_NE(error.find("1e10"), std::string::npos) << error;

    const auto walk = home.path() / "walk.txt";
    std::string fixes;
    for (int i = 0; i < 12; ++i) fixes += "30.27 120.15\n";
    ASSERT_TRUE(platform::writeFileAtomically(walk, fixes));
    auto replay = parseDeviceCommand({"location", "replay", walk.string(), "1e9"}, error);
    ASSERT_TRUE(replay) << error;
    auto result = performDeviceCommand(*replay);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("clock's range"), std::string::npos) << result.error;
    EXPECT_FALSE(platform::LocationDevice::shared().isReplaying());
}

}  // namespace
}  // namespace frontend
