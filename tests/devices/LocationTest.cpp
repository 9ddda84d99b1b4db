#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/devices/Geocoder.h"
#include "platform/devices/LocationDevice.h"
#include "platform/devices/LocationManager.h"
#include "platform/foundation/Files.h"
#include "platform/testing/UiTestScope.h"
#include "tests/support/TempHome.h"

using namespace platform;

namespace {

struct RecordingDelegate : LocationManagerDelegate {
    void didUpdateLocations(LocationManager&, const std::vector<Location>& fixes) override {
        locations.insert(locations.end(), fixes.begin(), fixes.end());
    }
    void didUpdateHeading(LocationManager&, const Heading& heading) override {
        headings.push_back(heading);
    }
    void didFailWithError(LocationManager&, const DeviceError& error) override {
        errors.push_back(error);
    }
    void didChangeAuthorizationStatus(LocationManager&, LocationAuthorizationStatus s) override {
        statuses.push_back(s);
    }
    std::vector<Location> locations;
    std::vector<Heading> headings;
    std::vector<DeviceError> errors;
    std::vector<LocationAuthorizationStatus> statuses;
};

Location fix(double latitude, double longitude, double accuracy = 5) {
    Location location;
    location.coordinate = {latitude, longitude};
    location.horizontalAccuracy = accuracy;
    return location;
}

class LocationTest : public ::testing::Test {
protected:
    void run() { RunLoop::main().runPending(); }

    platform::testing::UiTestScope m_scope;
    LocationDevice& m_device = LocationDevice::shared();
};

TEST_F(LocationTest, FixesReachOnlyManagersThatUpdateWhileAllowed) {
    auto updating = std::make_shared<RecordingDelegate>();
    auto idle = std::make_shared<RecordingDelegate>();
    LocationManager updatingManager;
    LocationManager idleManager;
    updatingManager.setDelegate(updating);
    idleManager.setDelegate(idle);
    updatingManager.startUpdatingLocation();

    m_device.injectLocation(fix(30.3, 120.08));
    run();
    EXPECT_TRUE(updating->locations.empty()) << "not determined: nothing yet";

    // Asking: the user answers later, and every manager hears the new status.
    updatingManager.requestWhenInUseAuthorization();
    EXPECT_EQ(LocationManager::authorizationStatus(), LocationAuthorizationStatus::NotDetermined);
    run();
    EXPECT_EQ(LocationManager::authorizationStatus(),
              LocationAuthorizationStatus::AuthorizedWhenInUse);
    EXPECT_EQ(updating->statuses, std::vector<LocationAuthorizationStatus>{
                                      LocationAuthorizationStatus::AuthorizedWhenInUse});
    EXPECT_EQ(idle->statuses, updating->statuses);
    // Allowed, the updating manager is handed the fix the phone had before.
    ASSERT_EQ(updating->locations.size(), 1u);
    EXPECT_EQ(updating->locations[0].horizontalAccuracy, 5);

    m_device.injectLocation(fix(30.3, 120.08, 12));
    EXPECT_EQ(updating->locations.size(), 1u) << "delivered on the main loop";
    run();
    ASSERT_EQ(updating->locations.size(), 2u);
    EXPECT_EQ(updating->locations[1].coordinate, (Coordinate{30.3, 120.08}));
    EXPECT_EQ(updating->locations[1].horizontalAccuracy, 12);
    EXPECT_EQ(updating->locations[1].timestamp, RunLoop::main().now());
    EXPECT_TRUE(idle->locations.empty());
    EXPECT_EQ(updatingManager.location()->coordinate, (Coordinate{30.3, 120.08}));

    // The distance filter drops a fix 5 m away, not one 50 m away.
    updatingManager.setDistanceFilter(10);
    m_device.injectLocation(fix(30.30004, 120.08));
    m_device.injectLocation(fix(30.3005, 120.08));
    run();
    EXPECT_EQ(updating->locations.size(), 3u);

    // Denied: no more fixes; starting reports the refusal.
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::Denied);
    m_device.injectLocation(fix(31, 121));
    idleManager.startUpdatingLocation();
    run();
    EXPECT_EQ(updating->locations.size(), 3u);
    ASSERT_EQ(idle->errors.size(), 1u);
    EXPECT_EQ(idle->errors[0].code, static_cast<int>(LocationErrorCode::Denied));
    EXPECT_EQ(updating->statuses.back(), LocationAuthorizationStatus::Denied);

    // Stopped managers and those switched off by settings hear nothing.
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::AuthorizedAlways);
    updatingManager.stopUpdatingLocation();
    m_device.setLocationServicesEnabled(false);
    m_device.injectLocation(fix(32, 122));
    run();
    EXPECT_TRUE(idle->locations.empty());
    m_device.setLocationServicesEnabled(true);
    m_device.injectLocation(fix(32, 122));
    run();
    EXPECT_EQ(idle->locations.size(), 1u);
    EXPECT_EQ(updating->locations.size(), 3u);
}

TEST_F(LocationTest, AManagerDestroyedByACallbackHearsNothingMore) {
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::AuthorizedWhenInUse);
    struct StopAfterFirst : LocationManagerDelegate {
        void didUpdateLocations(LocationManager&, const std::vector<Location>&) override {
            ++fixes;
            manager.reset();  // as a screen that lets go of its manager on the first fix
        }
        std::unique_ptr<LocationManager> manager = std::make_unique<LocationManager>();
        int fixes = 0;
    };
    auto delegate = std::make_shared<StopAfterFirst>();
    delegate->manager->setDelegate(delegate);
    delegate->manager->startUpdatingLocation();
    m_device.injectLocation(fix(1, 1));
    m_device.injectLocation(fix(2, 2));
    run();
    EXPECT_EQ(delegate->fixes, 1);
}

TEST_F(LocationTest, ReplayedFixesFollowTheRunLoopsClock) {
    testsupport::TempHome home;
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::AuthorizedWhenInUse);
    auto delegate = std::make_shared<RecordingDelegate>();
    LocationManager manager;
    manager.setDelegate(delegate);
    manager.startUpdatingLocation();

    auto bad = home.path() / "bad.txt";
    ASSERT_TRUE(writeFileAtomically(bad, "30 120\n30 north\n"));
    std::string error;
    EXPECT_FALSE(m_device.replayFile(bad, seconds(1), &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;

    auto path = home.path() / "walk.txt";
    ASSERT_TRUE(
        writeFileAtomically(path, "# a walk\n30.3 120.08\n\n30.301 120.08 20\n30.302 120.08\n"));
    auto start = RunLoop::main().now();
    ASSERT_TRUE(m_device.replayFile(path, seconds(2), &error)) << error;
    m_scope.advance(0);
    ASSERT_EQ(delegate->locations.size(), 1u);
    EXPECT_EQ(delegate->locations[0].horizontalAccuracy, kFedFixAccuracy);
    m_scope.advance(1.9);
    EXPECT_EQ(delegate->locations.size(), 1u);
    m_scope.advance(0.1);
    ASSERT_EQ(delegate->locations.size(), 2u);
    EXPECT_EQ(delegate->locations[1].horizontalAccuracy, 20);
    EXPECT_EQ(delegate->locations[1].timestamp - start, seconds(2));
    m_device.stopReplay();
    m_scope.advance(10);
    EXPECT_EQ(delegate->locations.size(), 2u);
    EXPECT_FALSE(m_device.isReplaying());
}

TEST_F(LocationTest, HeadingsReachHeadingUpdatersPastTheFilter) {
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::AuthorizedWhenInUse);
    auto delegate = std::make_shared<RecordingDelegate>();
    LocationManager manager;
    manager.setDelegate(delegate);
    manager.startUpdatingLocation();
    m_device.injectHeading(Heading{90, 92, 5, {}});
    run();
    EXPECT_TRUE(delegate->headings.empty()) << "only while updating headings";

    manager.startUpdatingHeading();
    run();
    ASSERT_EQ(delegate->headings.size(), 1u) << "the latest heading, handed at the start";
    EXPECT_EQ(delegate->headings[0].trueHeading, 92);
    m_device.injectHeading(Heading{359.5, -1, 5, {}});
    m_device.injectHeading(Heading{0.2, -1, 5, {}});  // less than a degree across north
    m_device.injectHeading(Heading{45, 47, 5, {}});
    run();
    ASSERT_EQ(delegate->headings.size(), 3u);
    EXPECT_EQ(delegate->headings[2].trueHeading, 47);
    EXPECT_EQ(manager.heading()->magneticHeading, 45);
    EXPECT_TRUE(delegate->locations.empty());
}

TEST_F(LocationTest, AManagerThatStartsLaterIsHandedTheLatestFixAndHeadingAsTheyWereTaken) {
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::AuthorizedWhenInUse);
    m_device.injectLocation(fix(30.27, 120.15, 80));
    m_device.injectHeading(Heading{45, 47, 5, {}});
    run();
    const TimePoint taken = RunLoop::main().now();
    m_scope.advance(30);

    auto delegate = std::make_shared<RecordingDelegate>();
    LocationManager manager;
    manager.setDelegate(delegate);
    manager.startUpdatingLocation();
    manager.startUpdatingHeading();
    EXPECT_TRUE(delegate->locations.empty()) << "handed over on the main loop";
    run();
    ASSERT_EQ(delegate->locations.size(), 1u);
    EXPECT_EQ(delegate->locations[0].coordinate, (Coordinate{30.27, 120.15}));
    EXPECT_EQ(delegate->locations[0].horizontalAccuracy, 80);
    // Its own time, so that a screen that wants a fresh fix can tell how old it is.
    EXPECT_EQ(delegate->locations[0].timestamp, taken);
    ASSERT_EQ(delegate->headings.size(), 1u);
    EXPECT_EQ(delegate->headings[0].trueHeading, 47);
    EXPECT_EQ(delegate->headings[0].timestamp, taken);

    // Then new ones as they come.
    m_device.injectLocation(fix(30.28, 120.16));
    run();
    ASSERT_EQ(delegate->locations.size(), 2u);
    EXPECT_EQ(delegate->locations[1].timestamp, RunLoop::main().now());

    // Started again, it is handed the latest at once again; a manager that is not updating
    // is handed nothing.
    auto idle = std::make_shared<RecordingDelegate>();
    LocationManager idleManager;
    idleManager.setDelegate(idle);
    manager.stopUpdatingLocation();
    manager.startUpdatingLocation();
    run();
    ASSERT_EQ(delegate->locations.size(), 3u);
    EXPECT_EQ(delegate->locations[2].coordinate, (Coordinate{30.28, 120.16}));
    EXPECT_TRUE(idle->locations.empty());
    EXPECT_TRUE(idle->headings.empty());
}

TEST_F(LocationTest, TheLatestFixIsHandedOnlyWhileAllowedAndNeverTwice) {
    m_device.injectLocation(fix(30.27, 120.15));
    run();

    // Not determined: nothing until the user allows, then the fix known before.
    auto delegate = std::make_shared<RecordingDelegate>();
    LocationManager manager;
    manager.setDelegate(delegate);
    manager.startUpdatingLocation();
    manager.requestWhenInUseAuthorization();
    EXPECT_TRUE(delegate->locations.empty());
    run();
    ASSERT_EQ(delegate->locations.size(), 1u);
    EXPECT_EQ(delegate->locations[0].coordinate, (Coordinate{30.27, 120.15}));

    // A fix on its way when a manager starts reaches it once, not again as the latest.
    auto late = std::make_shared<RecordingDelegate>();
    LocationManager lateManager;
    lateManager.setDelegate(late);
    m_device.injectLocation(fix(30.3, 120.08));
    lateManager.startUpdatingLocation();
    run();
    ASSERT_EQ(late->locations.size(), 1u);
    EXPECT_EQ(late->locations[0].coordinate, (Coordinate{30.3, 120.08}));

    // Refused: no fix, only the refusal; allowed again, the updating manager has it.
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::Denied);
    run();
    auto refused = std::make_shared<RecordingDelegate>();
    LocationManager refusedManager;
    refusedManager.setDelegate(refused);
    refusedManager.startUpdatingLocation();
    run();
    EXPECT_TRUE(refused->locations.empty());
    EXPECT_EQ(refused->errors.size(), 1u);
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::AuthorizedAlways);
    run();
    ASSERT_EQ(refused->locations.size(), 1u);
    EXPECT_EQ(refused->locations[0].coordinate, (Coordinate{30.3, 120.08}));

    // A reset phone knows nowhere.
    m_device.reset();
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::AuthorizedAlways);
    auto fresh = std::make_shared<RecordingDelegate>();
    LocationManager freshManager;
    freshManager.setDelegate(fresh);
    freshManager.startUpdatingLocation();
    freshManager.startUpdatingHeading();
    run();
    EXPECT_TRUE(fresh->locations.empty());
    EXPECT_TRUE(fresh->headings.empty());
}

// A manager that had its fix before location use was refused is handed where the phone is
// now once it is allowed again, as one that never had a fix is; and once only.
TEST_F(LocationTest, AManagerThatHadAFixIsHandedTheLatestAgainOnceAllowedAgain) {
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::AuthorizedWhenInUse);
    auto delegate = std::make_shared<RecordingDelegate>();
    LocationManager manager;
    manager.setDelegate(delegate);
    manager.startUpdatingLocation();
    manager.startUpdatingHeading();
    m_device.injectLocation(fix(30.27, 120.15));
    m_device.injectHeading(Heading{45, 47, 5, {}});
    run();
    ASSERT_EQ(delegate->locations.size(), 1u);
    ASSERT_EQ(delegate->headings.size(), 1u);

    // Refused, the phone still learns where it is and which way it points; the manager hears
    // nothing of it.
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::Denied);
    run();
    m_device.injectLocation(fix(30.28, 120.16));
    m_device.injectHeading(Heading{90, 92, 5, {}});
    run();
    EXPECT_EQ(delegate->locations.size(), 1u);
    EXPECT_EQ(delegate->headings.size(), 1u);

    m_device.setAuthorizationStatus(LocationAuthorizationStatus::AuthorizedWhenInUse);
    run();
    ASSERT_EQ(delegate->locations.size(), 2u);
    EXPECT_EQ(delegate->locations[1].coordinate, (Coordinate{30.28, 120.16}));
    ASSERT_EQ(delegate->headings.size(), 2u);
    EXPECT_EQ(delegate->headings[1].trueHeading, 92);

    // Allowed in another way, it has them already.
    m_device.setAuthorizationStatus(LocationAuthorizationStatus::AuthorizedAlways);
    run();
    EXPECT_EQ(delegate->locations.size(), 2u);
    EXPECT_EQ(delegate->headings.size(), 2u);
}

TEST_F(LocationTest, GeocoderNamesTheNearestKnownPlaceOrFails) {
    Geocoder geocoder;
    std::vector<Placemark> found;
    std::optional<DeviceError> failure;
    int answers = 0;
    auto record = [&](const std::vector<Placemark>& placemarks,
                      const std::optional<DeviceError>& error) {
        ++answers;
        found = placemarks;
        failure = error;
    };
    geocoder.reverseGeocodeLocation(fix(30.3043, 120.0860), record);
    EXPECT_EQ(answers, 0);
    run();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "兰溪校区体育馆");
    EXPECT_FALSE(failure);
    EXPECT_FALSE(found[0].locality.empty());
    EXPECT_FALSE(found[0].country.empty());

    geocoder.reverseGeocodeLocation(fix(-33.9, 18.4), record);
    run();
    EXPECT_TRUE(found.empty());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code, static_cast<int>(LocationErrorCode::GeocodeFoundNoResult));

    {
        Geocoder gone;
        gone.reverseGeocodeLocation(fix(30.3, 120.08), record);
    }
    run();
    EXPECT_EQ(answers, 2) << "a destroyed geocoder answers nobody";
}

}  // namespace
