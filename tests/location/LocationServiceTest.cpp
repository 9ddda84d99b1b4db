#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "location/CoordinateConversion.h"
#include "location/LMAppTools.h"
#include "location/LMKLocationService.h"
#include "platform/devices/LocationDevice.h"
#include "platform/devices/LocationManager.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Application.h"

using platform::Coordinate;
using platform::LocationAuthorizationStatus;

namespace {

// Records every callback in order, with what the user location held at the time.
struct RecordingDelegate : LMKLocationServiceDelegate {
    void willStartLocatingUser() override { events.push_back("willStart"); }
    void didStopLocatingUser() override { events.push_back("didStop"); }
    void didUpdateUserHeading(LMKUserLocation& user) override {
        events.push_back("heading");
        updatingAtEvent.push_back(user.isUpdating());
    }
    void didUpdateLMKUserLocation(LMKUserLocation& user) override {
        events.push_back("location");
        updatingAtEvent.push_back(user.isUpdating());
        locations.push_back(*user.location());
        if (onLocation) {
            onLocation();
        }
    }
    void didFailToLocateUserWithError(const platform::DeviceError& error) override {
        events.push_back("error");
        errors.push_back(error);
    }

    std::vector<std::string> events;
    std::vector<bool> updatingAtEvent;
    std::vector<platform::Location> locations;
    std::vector<platform::DeviceError> errors;
    std::function<void()> onLocation;
};

platform::Location fix(double latitude, double longitude, double accuracy = 5) {
    platform::Location location;
    location.coordinate = {latitude, longitude};
    location.horizontalAccuracy = accuracy;
    location.altitude = 43;
    location.verticalAccuracy = 8;
    location.course = 90;
    location.speed = 1.5;
    return location;
}

// What the service should deliver for a WGS-84 position, by the conversion's own road.
Coordinate converted(double latitude, double longitude) {
    const LMPoint ll =
        Ld09MCToLL(LMAppTools::CoordinateEncrypt(longitude, latitude, LMAppTools::kWgs84LonLat));
    return {ll.y, ll.x};
}

class LocationServiceTest : public ::testing::Test {
protected:
    void SetUp() override { Gcj02EncryptState::shared().reset(); }
    void TearDown() override { Gcj02EncryptState::shared().reset(); }

    void run() { platform::RunLoop::main().runPending(); }
    // A service with a delegate, permission granted, running.
    std::unique_ptr<LMKLocationService> startedService() {
        auto service = LMKLocationService::create();
        service->setDelegate(m_delegate);
        run();  // the user answers the permission request
        service->startUserLocationService();
        return service;
    }

    platform::testing::UiTestScope m_scope;
    platform::LocationDevice& m_device = platform::LocationDevice::shared();
    std::shared_ptr<RecordingDelegate> m_delegate = std::make_shared<RecordingDelegate>();
};

TEST_F(LocationServiceTest, StartAndStopAreIdempotent) {
    auto service = LMKLocationService::create();
    ASSERT_TRUE(service);
    service->setDelegate(m_delegate);
    service->stopUserLocationService();
    EXPECT_TRUE(m_delegate->events.empty()) << "stopping a stopped service says nothing";
    EXPECT_FALSE(service->locationManager().isUpdatingLocation());

    service->startUserLocationService();
    service->startUserLocationService();
    EXPECT_TRUE(service->isLocationing());
    EXPECT_TRUE(service->locationManager().isUpdatingLocation());
    EXPECT_TRUE(service->locationManager().isUpdatingHeading());
    service->stopUserLocationService();
    service->stopUserLocationService();
    EXPECT_FALSE(service->locationManager().isUpdatingLocation());
    EXPECT_FALSE(service->locationManager().isUpdatingHeading());
    EXPECT_EQ(m_delegate->events, (std::vector<std::string>{"willStart", "didStop"}));

    // Nothing reaches a stopped service.
    run();
    m_device.injectLocation(fix(39.9, 116.4));
    run();
    EXPECT_EQ(m_delegate->events.size(), 2u);
}

TEST_F(LocationServiceTest, CallbacksArriveInOrderAndTellWhichUpdateCameLast) {
    auto service = startedService();
    EXPECT_TRUE(service->userLocation()->location() == std::nullopt);
    EXPECT_EQ(service->userLocation()->title(), "我的位置");

    m_device.injectLocation(fix(39.916527, 116.397128));
    m_device.injectHeading({.magneticHeading = 30, .trueHeading = 32});
    m_device.injectLocation(fix(39.9166, 116.3972));
    m_device.injectFailure({"location", 0, "signal lost"});
    run();
    service->stopUserLocationService();
    EXPECT_EQ(m_delegate->events, (std::vector<std::string>{"willStart", "location", "heading",
                                                            "location", "error", "didStop"}));
    EXPECT_EQ(m_delegate->updatingAtEvent, (std::vector<bool>{true, false, true}));
    ASSERT_EQ(m_delegate->errors.size(), 1u);
    EXPECT_EQ(m_delegate->errors[0].description, "signal lost");
    EXPECT_EQ(service->userLocation()->heading()->trueHeading, 32);

    // The user location is one object, updated in place, and keeps its values after a stop.
    EXPECT_EQ(service->userLocation(), service->userLocation());
    EXPECT_TRUE(service->userLocation()->isUpdating());
    EXPECT_TRUE(service->userLocation()->location().has_value());
}

TEST_F(LocationServiceTest, FixIsConvertedToTheVendorDatumAndKeepsItsOtherValues) {
    auto service = startedService();
    m_device.injectLocation(fix(39.916527, 116.397128, 12));
    run();
    ASSERT_EQ(m_delegate->locations.size(), 1u);
    const platform::Location& delivered = m_delegate->locations[0];
    // The first conversion of a fresh process, as the reference script works it out.
    EXPECT_NEAR(delivered.coordinate.longitude, 116.40974055816481, 1e-12);
    EXPECT_NEAR(delivered.coordinate.latitude, 39.92427684806966, 1e-12);
    EXPECT_EQ(delivered.horizontalAccuracy, 12);
    EXPECT_EQ(delivered.altitude, 43);
    EXPECT_EQ(delivered.verticalAccuracy, 8);
    EXPECT_EQ(delivered.course, 90);
    EXPECT_EQ(delivered.speed, 1.5);
    EXPECT_EQ(delivered.timestamp, platform::RunLoop::main().now());
}

TEST_F(LocationServiceTest, FixWithNegativeAccuracyIsDropped) {
    auto service = startedService();
    m_device.injectLocation(fix(39.9, 116.4));
    m_device.injectLocation(fix(31.2, 121.5, -1));
    run();
    ASSERT_EQ(m_delegate->locations.size(), 1u);
    EXPECT_EQ(service->userLocation()->location()->coordinate, m_delegate->locations[0].coordinate);
    EXPECT_EQ(Gcj02EncryptState::shared().seed, 0.75) << "one conversion only";
}

TEST_F(LocationServiceTest, SameCoordinateIsNotConvertedTwice) {
    auto service = startedService();
    m_device.injectLocation(fix(39.9, 116.4));
    run();
    m_scope.advance(5);
    m_device.injectLocation(fix(39.9, 116.4));
    run();
    ASSERT_EQ(m_delegate->locations.size(), 2u);
    EXPECT_EQ(m_delegate->locations[1].coordinate, m_delegate->locations[0].coordinate);
    EXPECT_GT(m_delegate->locations[1].timestamp, m_delegate->locations[0].timestamp);
    EXPECT_EQ(Gcj02EncryptState::shared().seed, 0.75) << "the jitter moved on once";

    // A changed fix is converted again, with the jitter's next step.
    m_device.injectLocation(fix(39.91, 116.4));
    run();
    EXPECT_EQ(Gcj02EncryptState::shared().seed, 0.4375);
}

TEST_F(LocationServiceTest, FirstFixAtTheOriginIsConvertedLikeAnyOther) {
    auto service = startedService();
    m_device.injectLocation(fix(0, 0));
    run();
    ASSERT_EQ(m_delegate->locations.size(), 1u);
    const Coordinate expected = converted(0, 0);
    EXPECT_NE(expected, (Coordinate{0, 0}));
    EXPECT_EQ(m_delegate->locations[0].coordinate, expected);
}

TEST_F(LocationServiceTest, ReleasingARunningServiceStopsIt) {
    auto service = startedService();
    service.reset();
    EXPECT_EQ(m_delegate->events, (std::vector<std::string>{"willStart", "didStop"}));
    m_device.injectLocation(fix(39.9, 116.4));
    run();
    EXPECT_EQ(m_delegate->events.size(), 2u);
}

TEST_F(LocationServiceTest, DelegateThatHasGoneHearsNothing) {
    auto service = startedService();
    m_delegate.reset();  // the screen that listened has gone
    m_device.injectLocation(fix(39.9, 116.4));
    m_device.injectHeading({.magneticHeading = 30});
    m_device.injectFailure({"location", 0, "signal lost"});
    run();
    EXPECT_TRUE(service->userLocation()->location().has_value()) << "still kept up to date";
    service->stopUserLocationService();
    service.reset();
}

TEST_F(LocationServiceTest, ServiceReleasedFromItsOwnCallbackStopsCleanly) {
    auto service = startedService();
    m_delegate->onLocation = [&] { service.reset(); };
    m_device.injectLocation(fix(39.9, 116.4));
    m_device.injectLocation(fix(39.8, 116.3));
    m_device.injectHeading({.magneticHeading = 30});
    run();
    EXPECT_EQ(service, nullptr);
    EXPECT_EQ(m_delegate->events, (std::vector<std::string>{"willStart", "location", "didStop"}));
}

TEST_F(LocationServiceTest, RefusedPermissionReachesTheDelegateUnchanged) {
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::Denied);
    auto service = startedService();
    run();
    ASSERT_EQ(m_delegate->errors.size(), 1u);
    EXPECT_EQ(m_delegate->errors[0].code, static_cast<int>(platform::LocationErrorCode::Denied));
    EXPECT_TRUE(service->isLocationing()) << "no retry, stop or reset";
}

TEST_F(LocationServiceTest, ManagerIsConfiguredBeforeAnyStart) {
    auto service = LMKLocationService::create();
    const auto& manager = service->locationManager();
    EXPECT_EQ(manager.distanceFilter(), platform::kDistanceFilterNone);
    EXPECT_EQ(manager.desiredAccuracy(), platform::kLocationAccuracyBest);
    EXPECT_EQ(manager.headingFilter(), 1.0);
    EXPECT_TRUE(manager.pausesLocationUpdatesAutomatically());
    EXPECT_FALSE(manager.allowsBackgroundLocationUpdates());
    EXPECT_EQ(manager.delegate(), nullptr);

    service->setDesiredAccuracy(platform::kLocationAccuracyHundredMeters);
    service->setDistanceFilter(20);
    service->setAllowsBackgroundLocationUpdates(true);
    EXPECT_EQ(manager.desiredAccuracy(), platform::kLocationAccuracyHundredMeters);
    EXPECT_EQ(manager.distanceFilter(), 20);
    EXPECT_TRUE(manager.allowsBackgroundLocationUpdates());
    LMKLocationService::setLocationDesiredAccuracy(platform::kLocationAccuracyKilometer);
    EXPECT_EQ(LMKLocationService::getCurrentLocationDesiredAccuracy(),
              platform::kLocationAccuracyBest);
    EXPECT_EQ(LMKLocationService::getCurrentLocationDistanceFilter(),
              platform::kDistanceFilterNone);

    // An older system keeps the background setting to the service.
    platform::Application::shared().setSystemVersion("8.4");
    auto older = LMKLocationService::create();
    older->setAllowsBackgroundLocationUpdates(true);
    EXPECT_TRUE(older->allowsBackgroundLocationUpdates());
    EXPECT_FALSE(older->locationManager().allowsBackgroundLocationUpdates());
}

// The bundle decides which permission is asked for: when-in-use unless the Info.plist names
// only the always description.
TEST_F(LocationServiceTest, PermissionRequestFollowsTheInfoPlist) {
    const auto& bundle = platform::Bundle::main();
    const bool onlyAlways =
        bundle.objectForInfoDictionaryKey("NSLocationAlwaysUsageDescription").has_value() &&
        !bundle.objectForInfoDictionaryKey("NSLocationWhenInUseUsageDescription").has_value();
    auto service = LMKLocationService::create();
    run();
    EXPECT_EQ(platform::LocationManager::authorizationStatus(),
              onlyAlways ? LocationAuthorizationStatus::AuthorizedAlways
                         : LocationAuthorizationStatus::AuthorizedWhenInUse);
    // The application's own bundle names both.
    if (std::getenv("CAMPUS_RESOURCES") &&
        std::string(std::getenv("CAMPUS_RESOURCES")).ends_with("always-bundle")) {
        EXPECT_TRUE(onlyAlways);
    } else {
        EXPECT_FALSE(onlyAlways);
    }
}

}  // namespace
