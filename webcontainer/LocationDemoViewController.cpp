#include "webcontainer/LocationDemoViewController.h"

#include "location/LMKLocationService.h"
#include "location/LMKMapView.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"

namespace {

// The screen's texts.
constexpr const char* kStartTitle = "开始定位";
constexpr const char* kStopTitle = "停止定位";
constexpr const char* kFollowingTitle = "跟随";
constexpr const char* kFollowHeadTitle = "罗盘";

// The buttons' row under the map.
constexpr double kButtonRowHeight = 50;
constexpr double kButtonMargin = 6;

const platform::Color kButtonColor = platform::Color::rgba(0.16f, 0.5f, 0.96f);
const platform::Color kCircleStroke = platform::Color::rgba(1, 0, 0, 0.5f);
const platform::Color kCircleFill = platform::Color::rgba(0, 1, 0, 0.3f);

void setUsable(const std::shared_ptr<platform::Button>& button, bool usable) {
    if (!button)
        return;
    button->setEnabled(usable);
    button->setAlpha(usable ? 1.0 : LocationDemoViewController::kDisabledAlpha);
}

}  // namespace

LocationDemoViewController::LocationDemoViewController() = default;

platform::InterfaceOrientationMask LocationDemoViewController::supportedInterfaceOrientations()
    const {
    return platform::Application::shared().deviceInterfaceOrientations();
}

void LocationDemoViewController::loadView() {
    auto view = makeMapLayout(kButtonRowHeight);
    view->setBackgroundColor(platform::Color::white());
    const platform::Rect bounds = view->bounds();

    std::weak_ptr<LocationDemoViewController> weak =
        std::static_pointer_cast<LocationDemoViewController>(shared_from_this());
    struct DemoButton {
        const char* title;
        const char* handle;
        void (LocationDemoViewController::*action)();
        std::weak_ptr<platform::Button>* outlet;
    };
    const DemoButton entries[] = {
        {kStartTitle, "startBtn", &LocationDemoViewController::startLocation, &m_startBtn},
        {kStopTitle, "stopBtn", &LocationDemoViewController::stopLocation, &m_stopBtn},
        {kFollowingTitle, "followingBtn", &LocationDemoViewController::startFollowing,
         &m_followingBtn},
        {kFollowHeadTitle, "followHeadBtn", &LocationDemoViewController::startFollowHeading,
         &m_followHeadBtn},
    };
    const double width = (bounds.size.width - kButtonMargin * 5) / 4;
    double x = kButtonMargin;
    for (const DemoButton& entry : entries) {
        auto button = platform::View::make<platform::Button>(
            platform::Rect{{x, bounds.size.height - kButtonRowHeight + kButtonMargin},
                           {width, kButtonRowHeight - 2 * kButtonMargin}});
        button->setAutoresizingMask(platform::AutoresizingMask::FlexibleTopMargin |
                                    platform::AutoresizingMask::FlexibleWidth |
                                    platform::AutoresizingMask::FlexibleLeftMargin |
                                    platform::AutoresizingMask::FlexibleRightMargin);
        button->setTitle(entry.title);
        button->setTitleColor(platform::Color::white());
        button->setBackgroundColor(kButtonColor);
        button->setCornerRadius(4);
        button->setHandle(entry.handle);
        button->addTarget(
            [weak, action = entry.action](platform::Control&) {
                if (auto screen = weak.lock())
                    ((*screen).*action)();
            },
            platform::ControlEvent::TouchUpInside);
        view->addSubview(button);
        *entry.outlet = button;
        x += width + kButtonMargin;
    }
    setView(std::move(view));
}

void LocationDemoViewController::viewDidLoad() {
    LocatingMapScreen::viewDidLoad();
    if (platform::Application::shared().systemVersionNumber() >= 7.0) {
        if (auto navigation = navigationController())
            navigation->navigationBar()->setTranslucent(false);
    }
    makeLocationService();
    setUsable(stopBtn(), false);
    setUsable(followingBtn(), false);
    setUsable(followHeadBtn(), false);

    std::weak_ptr<LocationDemoViewController> weak =
        std::static_pointer_cast<LocationDemoViewController>(shared_from_this());
    navigationItem().setRightBarButtonItem(std::make_shared<platform::BarButtonItem>(
        kCustomCircleTitle, platform::BarButtonItemStyle::Plain, [weak](platform::BarButtonItem&) {
            if (auto screen = weak.lock())
                screen->customLocationAccuracyCircle();
        }));
}

void LocationDemoViewController::customLocationAccuracyCircle() {
    LMKLocationViewDisplayParam param;
    param.accuracyCircleStrokeColor = kCircleStroke;
    param.accuracyCircleFillColor = kCircleFill;
    if (auto map = mapView())
        map->updateLocationViewWithParam(param);
}

void LocationDemoViewController::startLocation() {
    platform::log("进入普通定位态");
    if (auto* locService = service())
        locService->startUserLocationService();
    showUserWithMode(LMKUserTrackingMode::None);
    setButtonsLocating(true);
}

void LocationDemoViewController::startFollowHeading() {
    platform::log("进入罗盘态");
    showUserWithMode(LMKUserTrackingMode::FollowWithHeading);
}

void LocationDemoViewController::startFollowing() {
    platform::log("进入跟随态");
    showUserWithMode(LMKUserTrackingMode::Follow);
}

void LocationDemoViewController::stopLocation() {
    if (auto* locService = service())
        locService->stopUserLocationService();
    if (auto map = mapView())
        map->setShowsUserLocation(false);
    setButtonsLocating(false);
}

void LocationDemoViewController::showUserWithMode(LMKUserTrackingMode mode) {
    auto map = mapView();
    if (!map)
        return;
    map->setShowsUserLocation(false);
    map->setUserTrackingMode(mode);
    map->setShowsUserLocation(true);
}

void LocationDemoViewController::setButtonsLocating(bool locating) {
    setUsable(startBtn(), !locating);
    setUsable(stopBtn(), locating);
    setUsable(followingBtn(), locating);
    setUsable(followHeadBtn(), locating);
}
