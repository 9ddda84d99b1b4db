#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "location/LMKLocationService.h"
#include "location/LMKMapView.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ViewController.h"
#include "tests/webcontainer/LocatingScreenTest.h"
#include "webcontainer/LocationDemoViewController.h"
#include "webcontainer/MapAnnotation.h"
#include "webcontainer/MyPin.h"

namespace {

using locatingtest::fix;

// Which of start, stop, following and compass the user can press, as "1001".
std::string usable(const LocationDemoViewController& demo) {
    std::string marks;
    for (const auto& button :
         {demo.startBtn(), demo.stopBtn(), demo.followingBtn(), demo.followHeadBtn()}) {
        const bool on = button->isEnabled();
        EXPECT_EQ(button->alpha(), on ? 1.0 : LocationDemoViewController::kDisabledAlpha);
        marks += on ? '1' : '0';
    }
    return marks;
}

// The demonstration pushed onto a navigation stack, with location permission given and the
// fixes fed on the manual clock.
class LocationDemoTest : public locatingtest::LocatingScreenTest {
protected:
    LocationDemoTest() {
        showStack(root);
        navigation->pushViewController(demo, false);
        scope.advance(1);
    }

    std::shared_ptr<platform::ViewController> root = std::make_shared<platform::ViewController>();
    std::shared_ptr<LocationDemoViewController> demo =
        std::make_shared<LocationDemoViewController>();
};

TEST_F(LocationDemoTest, ItOpensIdleWithOnlyStartUsableAndAnOpaqueBar) {
    ASSERT_TRUE(demo->locService());
    EXPECT_FALSE(demo->locService()->isLocationing()) << "locating waits for the user";
    EXPECT_EQ(usable(*demo), "1000");
    EXPECT_FALSE(navigation->navigationBar()->isTranslucent());
    EXPECT_EQ(demo->mapView()->delegate(), std::static_pointer_cast<LMKMapViewDelegate>(demo));
    EXPECT_NE(driver.outline().find("自定义精度圈"), std::string::npos) << driver.outline();
}

TEST_F(LocationDemoTest, TheButtonsWalkThroughLocatingFollowingCompassAndStopping) {
    auto map = demo->mapView();
    ASSERT_TRUE(driver.tap("startBtn").ok);
    scope.advance(1);
    EXPECT_TRUE(logged("进入普通定位态"));
    EXPECT_TRUE(demo->locService()->isLocationing());
    EXPECT_EQ(map->userTrackingMode(), LMKUserTrackingMode::None);
    EXPECT_TRUE(map->showsUserLocation());
    EXPECT_EQ(usable(*demo), "0111");
    // A disabled button does not answer.
    logLines.clear();
    driver.tap("startBtn");
    EXPECT_FALSE(logged("进入普通定位态"));

    feed(fix(30.27, 120.15, 30));
    EXPECT_EQ(map->locationUpdateCount(), 1);

    ASSERT_TRUE(driver.tap("followingBtn").ok);
    EXPECT_TRUE(logged("进入跟随态"));
    EXPECT_EQ(map->userTrackingMode(), LMKUserTrackingMode::Follow);
    ASSERT_TRUE(driver.tap("followHeadBtn").ok);
    EXPECT_TRUE(logged("进入罗盘态"));
    EXPECT_EQ(map->userTrackingMode(), LMKUserTrackingMode::FollowWithHeading);
    EXPECT_TRUE(map->showsUserLocation());
    device.injectHeading({.magneticHeading = 40, .trueHeading = 42});
    scope.advance(0);
    EXPECT_EQ(map->locationUpdateCount(), 2);

    ASSERT_TRUE(driver.tap("stopBtn").ok);
    EXPECT_FALSE(demo->locService()->isLocationing());
    EXPECT_FALSE(map->showsUserLocation());
    EXPECT_EQ(usable(*demo), "1000");
}

TEST_F(LocationDemoTest, UpdatesReachTheMapOnlyWhileTheScreenIsOnTop) {
    ASSERT_TRUE(driver.tap("startBtn").ok);
    scope.advance(1);
    auto map = demo->mapView();
    navigation->pushViewController(std::make_shared<platform::ViewController>(), false);
    scope.advance(1);
    feed(fix(30.27, 120.15, 30));
    EXPECT_EQ(map->locationUpdateCount(), 0);
    EXPECT_FALSE(map->isAppearing());

    navigation->popViewController(false);
    scope.advance(1);
    feed(fix(30.28, 120.16, 30));
    EXPECT_EQ(map->locationUpdateCount(), 1);
}

TEST_F(LocationDemoTest, WhereThePhoneWasBeforeTheStartShowsAtOnce) {
    auto map = demo->mapView();
    feed(fix(30.27, 120.15, 80));
    device.injectHeading({.magneticHeading = 40, .trueHeading = 42});
    scope.advance(60);  // the user starts a minute later, the phone not having moved
    EXPECT_EQ(map->locationUpdateCount(), 0) << "locating waits for the user";

    ASSERT_TRUE(driver.tap("startBtn").ok);
    scope.advance(0);
    EXPECT_EQ(map->locationUpdateCount(), 2) << "the fix and the heading the phone had";
    ASSERT_TRUE(map->userLocation());
    ASSERT_TRUE(driver.tap("followingBtn").ok);
    const std::string outline = driver.outline();
    EXPECT_NE(outline.find("following the user; user dot at 30.2"), std::string::npos) << outline;
    // The dot is drawn where the user is, in the middle of the map that follows.
    const platform::Point dot = map->pointForCoordinate(map->userLocation()->coordinate);
    const std::uint32_t drawn =
        platform::renderToImage(*map).pixelAt(static_cast<int>(dot.x), static_cast<int>(dot.y));
    EXPECT_GT(drawn & 0xFF, 0xC0) << "the dot's blue";
    EXPECT_LT((drawn >> 16) & 0xFF, 0x60);
}

TEST_F(LocationDemoTest, TheCustomCircleAndThePinsShowOnScreen) {
    auto map = demo->mapView();
    ASSERT_TRUE(driver.tap("startBtn").ok);
    scope.advance(1);
    feed(fix(30.27, 120.15, 40));
    ASSERT_TRUE(map->userLocation());
    const platform::Coordinate user = map->userLocation()->coordinate;
    ASSERT_TRUE(driver.tap("followingBtn").ok);

    const platform::Image before = platform::renderToImage(*map);
    ASSERT_TRUE(driver.tap("自定义精度圈").ok);
    const platform::Image after = platform::renderToImage(*map);
    // Inside the accuracy circle, beside the user's dot: green now instead of blue.
    const platform::Point dot = map->pointForCoordinate(user);
    const double radius = 40 / map->metresPerPoint();
    ASSERT_GT(radius, 16);
    const int x = static_cast<int>(dot.x + radius * 0.7);
    const int y = static_cast<int>(dot.y);
    EXPECT_NE(before.pixelAt(x, y), after.pixelAt(x, y));
    const std::uint32_t tinted = after.pixelAt(x, y);
    EXPECT_GT((tinted >> 8) & 0xFF, (tinted >> 16) & 0xFF) << "more green than red";

    // Both kinds of record pin the map, with their titles in the outline.
    map->setUserTrackingMode(LMKUserTrackingMode::None);
    map->setCenterCoordinate(user);
    map->addAnnotation(std::make_shared<MapAnnotation>(
        platform::Coordinate{user.latitude + 0.0005, user.longitude}, "图书馆", "开放至22:00"));
    map->addAnnotation(std::make_shared<MyPin>(
        platform::Coordinate{user.latitude, user.longitude + 0.0005}, "东门", ""));
    map->addAnnotation(std::make_shared<MyPin>(platform::Coordinate{95, 0}, "无处", ""));
    const std::string outline = driver.outline();
    EXPECT_NE(outline.find("pins: 图书馆 东门 无处"), std::string::npos) << outline;
    const platform::Image pinned = platform::renderToImage(*map);
    const platform::Point library =
        map->pointForCoordinate({user.latitude + 0.0005, user.longitude});
    const std::uint32_t head =
        pinned.pixelAt(static_cast<int>(library.x), static_cast<int>(library.y - 20));
    EXPECT_GT((head >> 16) & 0xFF, 0xC0) << "the pin's red head";
    EXPECT_LT((head >> 8) & 0xFF, 0x60);
}

}  // namespace
