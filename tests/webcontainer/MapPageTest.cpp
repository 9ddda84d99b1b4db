#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "location/CoordinateConversion.h"
#include "location/Gcj02EncryptState.h"
#include "location/LMAppTools.h"
#include "location/LMKLocationService.h"
#include "location/LMKMapView.h"
#include "platform/foundation/RunLoop.h"
#include "tests/webcontainer/LocatingScreenTest.h"
#include "webcontainer/WebDetailViewController.h"
#include "webcontainer/mapViewController.h"

namespace {

using locatingtest::fix;
using platform::Coordinate;

// The first conversion of a fresh process, worked out by the SDK's own road.
Coordinate firstConversion(double latitude, double longitude) {
    Gcj02EncryptState::shared().reset();
    const LMPoint ll =
        Ld09MCToLL(LMAppTools::CoordinateEncrypt(longitude, latitude, LMAppTools::kWgs84LonLat));
    return {ll.y, ll.x};
}

// The map page opened from a web page in the container, as a page's "openLocation" does,
// with location permission given and the fixes fed on the manual clock.
class MapPageTest : public locatingtest::LocatingScreenTest {
protected:
    MapPageTest() {
        // The container's own page is not loaded here; its failure goes to the log.
        Gcj02EncryptState::shared().reset();
        container->setTitleStr("网页接口演示");
        showStack(container);
        scope.advance(1);
    }
    ~MapPageTest() override { Gcj02EncryptState::shared().reset(); }

    std::shared_ptr<mapViewController> openMap() {
        container->openLocation();
        scope.advance(1);
        auto page = std::dynamic_pointer_cast<mapViewController>(navigation->topViewController());
        EXPECT_TRUE(page) << "the map page is on top";
        return page;
    }

    std::shared_ptr<WebDetailViewController> container =
        std::make_shared<WebDetailViewController>();
};

TEST_F(MapPageTest, OpeningTheMapStartsLocatingAndFollowsTheUserCloseUp) {
    auto page = openMap();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->title(), "地址");
    ASSERT_TRUE(page->locService());
    EXPECT_TRUE(page->locService()->isLocationing());
    EXPECT_TRUE(page->locService()->locationManager().isUpdatingLocation());

    auto map = page->mapView();
    ASSERT_TRUE(map);
    EXPECT_EQ(map->zoomLevel(), 18);
    EXPECT_EQ(map->userTrackingMode(), LMKUserTrackingMode::Follow);
    EXPECT_TRUE(map->showsUserLocation());
    EXPECT_TRUE(map->isAppearing());
    EXPECT_EQ(map->delegate(), std::static_pointer_cast<LMKMapViewDelegate>(page));
    EXPECT_EQ(map->frame().size.width, page->view()->bounds().size.width) << "the map fills it";
    EXPECT_FALSE(page->latitude().empty());
    EXPECT_FALSE(page->longitude().empty());
    EXPECT_NE(driver.outline().find("map, zoom 18, following the user; no user location yet"),
              std::string::npos)
        << driver.outline();
}

TEST_F(MapPageTest, EachFixAndHeadingReachesTheMapInTheVendorDatum) {
    auto page = openMap();
    ASSERT_TRUE(page);
    auto map = page->mapView();

    feed(fix(30.27, 120.15));
    ASSERT_EQ(map->locationUpdateCount(), 1);
    ASSERT_TRUE(map->userLocation());
    const Coordinate shown = map->userLocation()->coordinate;
    const Coordinate expected = firstConversion(30.27, 120.15);
    EXPECT_EQ(shown, expected);
    EXPECT_NE(shown, (Coordinate{30.27, 120.15})) << "the vendor's datum is offset";
    EXPECT_EQ(map->userLocation()->horizontalAccuracy, 8);
    // The map centres on the user, not on the coordinates the opener gave.
    EXPECT_EQ(map->centerCoordinate(), shown);
    const std::string outline = driver.outline();
    EXPECT_NE(outline.find("following the user; user dot at 30.27"), std::string::npos) << outline;

    device.injectHeading({.magneticHeading = 40, .trueHeading = 42});
    scope.advance(0);
    EXPECT_EQ(map->locationUpdateCount(), 2);
    ASSERT_TRUE(map->userHeading());
    EXPECT_EQ(map->userHeading()->trueHeading, 42);
    EXPECT_EQ(map->userLocation()->coordinate, shown) << "a heading does not move the dot";
    EXPECT_TRUE(logged("heading is magnetic 40, true 42, accuracy 0"));

    // A failure is only logged; the map keeps what it showed.
    device.injectFailure({"location", 0, "signal lost"});
    scope.advance(0);
    EXPECT_TRUE(logged("location error"));
    EXPECT_EQ(map->userLocation()->coordinate, shown);
}

// Location refused, then allowed again: the map hears nothing meanwhile, then shows where the
// phone is by then without waiting for it to move, though it had a fix before.
TEST_F(MapPageTest, TheMapShowsWhereThePhoneIsOnceLocationIsAllowedAgain) {
    auto page = openMap();
    ASSERT_TRUE(page);
    auto map = page->mapView();
    feed(fix(30.27, 120.15));
    ASSERT_EQ(map->locationUpdateCount(), 1);

    device.setAuthorizationStatus(platform::LocationAuthorizationStatus::Denied);
    scope.advance(0);
    feed(fix(30.31, 120.08));
    EXPECT_EQ(map->locationUpdateCount(), 1);
    EXPECT_NEAR(map->userLocation()->coordinate.latitude, 30.27, 0.01);

    device.setAuthorizationStatus(platform::LocationAuthorizationStatus::AuthorizedWhenInUse);
    scope.advance(0);
    ASSERT_EQ(map->locationUpdateCount(), 2);
    EXPECT_NEAR(map->userLocation()->coordinate.latitude, 30.31, 0.02);
    EXPECT_NEAR(map->userLocation()->coordinate.longitude, 120.08, 0.02);
}

TEST_F(MapPageTest, ACoveredPageHearsNothingUntilItShowsAgain) {
    auto page = openMap();
    ASSERT_TRUE(page);
    auto map = page->mapView();
    navigation->pushViewController(std::make_shared<platform::ViewController>(), false);
    scope.advance(1);

    feed(fix(30.27, 120.15));
    EXPECT_EQ(map->locationUpdateCount(), 0);
    EXPECT_FALSE(map->delegate());
    EXPECT_FALSE(map->isAppearing());
    EXPECT_TRUE(page->locService()->isLocationing()) << "still locating, for nobody";

    navigation->popViewController(false);
    scope.advance(1);
    feed(fix(30.271, 120.15));
    EXPECT_EQ(map->locationUpdateCount(), 1);
    EXPECT_TRUE(map->isAppearing());
}

TEST_F(MapPageTest, LeavingStopsTheServiceAndALaterFixCallsNothing) {
    auto page = openMap();
    ASSERT_TRUE(page);
    auto map = page->mapView();
    feed(fix(30.27, 120.15));

    ASSERT_TRUE(driver.back().ok);
    scope.advance(1);
    EXPECT_EQ(navigation->topViewController(), container);
    // Even while something still holds the page, its service is stopped.
    ASSERT_TRUE(page->locService());
    EXPECT_FALSE(page->locService()->isLocationing());
    EXPECT_FALSE(page->locService()->locationManager().isUpdatingLocation());
    EXPECT_FALSE(page->locService()->locationManager().isUpdatingHeading());
    EXPECT_FALSE(map->delegate());
    EXPECT_FALSE(logged("stop locate")) << "the page had left before the service stopped";

    feed(fix(30.28, 120.16));
    device.injectHeading({.magneticHeading = 10});
    scope.advance(0);
    EXPECT_EQ(map->locationUpdateCount(), 1);

    std::weak_ptr<mapViewController> gone = page;
    page.reset();
    EXPECT_TRUE(gone.expired());
    feed(fix(30.29, 120.17));
    EXPECT_EQ(map->locationUpdateCount(), 1);
}

TEST_F(MapPageTest, APageReleasedWhileItIsTheDelegateStopsItsServiceWithoutCallingIt) {
    // Released without ever disappearing (its window went away, say): the service is still
    // running with the page as its delegate when the page is destroyed.
    auto page = std::make_shared<mapViewController>();
    page->loadViewIfNeeded();
    page->viewWillAppear(false);
    std::shared_ptr<LMKMapView> map = page->mapView();
    ASSERT_TRUE(page->locService()->isLocationing());
    feed(fix(30.27, 120.15));
    ASSERT_EQ(map->locationUpdateCount(), 1);

    page.reset();
    EXPECT_FALSE(logged("stop locate"));
    feed(fix(30.28, 120.16));
    device.injectHeading({.magneticHeading = 10});
    scope.advance(0);
    EXPECT_EQ(map->locationUpdateCount(), 1);
}

TEST_F(MapPageTest, OpeningTheMapAgainMakesANewPageWithANewService) {
    auto first = openMap();
    ASSERT_TRUE(first);
    const LMKLocationService* firstService = first->locService();
    ASSERT_TRUE(driver.back().ok);
    scope.advance(1);

    auto second = openMap();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_NE(second->locService(), firstService);
    EXPECT_TRUE(second->locService()->isLocationing());
    feed(fix(30.27, 120.15));
    EXPECT_EQ(second->mapView()->locationUpdateCount(), 1);
    EXPECT_EQ(first->mapView()->locationUpdateCount(), 0);
}

}  // namespace
