#include "webcontainer/mapViewController.h"

#include "location/LMKLocationService.h"
#include "location/LMKMapView.h"
#include "location/LMKUserLocation.h"
#include "platform/foundation/Log.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "widgets/ViewControllerBackBarItem.h"

namespace {

std::string headingText(const LMKUserLocation& userLocation) {
    if (!userLocation.heading()) {
        return "";
    }
    const platform::Heading& heading = *userLocation.heading();
    return "magnetic " + platform::describe(heading.magneticHeading) + ", true " +
           platform::describe(heading.trueHeading) + ", accuracy " +
           platform::describe(heading.headingAccuracy);
}

}  // namespace

mapViewController::mapViewController() = default;

mapViewController::~mapViewController() {
    // Nothing may call back into a page that is being destroyed: the service forgets it
    // before it stops.
    stopLocationService();
}

void mapViewController::loadView() {
    auto view = platform::View::make<platform::View>(platform::Screen::main().bounds());
    view->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    auto map = platform::View::make<LMKMapView>(view->bounds());
    map->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                             platform::AutoresizingMask::FlexibleHeight);
    map->setHandle("map");
    view->addSubview(map);
    m_mapView = map;
    setView(std::move(view));
}

void mapViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    setTitle(kTitle);

    std::weak_ptr<mapViewController> weak =
        std::static_pointer_cast<mapViewController>(shared_from_this());
    auto backButton = backBarBtnWithAction(*this, [weak](platform::Control&) {
        if (auto page = weak.lock())
            page->back();
    });
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(backButton));

    m_locService = LMKLocationService::create();
    if (m_locService)
        m_locService->startUserLocationService();

    if (auto map = mapView()) {
        map->setZoomLevel(kZoomLevel);
        map->setUserTrackingMode(LMKUserTrackingMode::Follow);
        map->setShowsUserLocation(true);
    }
}

void mapViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    auto self = std::static_pointer_cast<mapViewController>(shared_from_this());
    if (auto map = mapView()) {
        map->viewWillAppear();
        map->setDelegate(std::static_pointer_cast<LMKMapViewDelegate>(self));
    }
    if (m_locService)
        m_locService->setDelegate(std::static_pointer_cast<LMKLocationServiceDelegate>(self));
}

void mapViewController::viewWillDisappear(bool animated) {
    ViewController::viewWillDisappear(animated);
    if (auto map = mapView()) {
        map->viewWillDisappear();
        map->setDelegate({});
    }
    if (m_locService)
        m_locService->setDelegate({});
}

void mapViewController::viewDidDisappear(bool animated) {
    ViewController::viewDidDisappear(animated);
    // Popped: the page is gone for the user even while something still holds it, so the
    // location hardware is not kept running for nobody.
    if (isMovingFromParentViewController())
        stopLocationService();
}

void mapViewController::back() {
    auto keep = shared_from_this();
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

void mapViewController::stopLocationService() {
    if (!m_locService)
        return;
    m_locService->setDelegate({});
    m_locService->stopUserLocationService();
}

void mapViewController::willStartLocatingUser() {
    platform::log("start locate");
}

void mapViewController::didUpdateUserHeading(LMKUserLocation& userLocation) {
    platform::log("heading is %@", headingText(userLocation));
    if (auto map = mapView())
        map->updateLocationData(userLocation);
}

void mapViewController::didUpdateLMKUserLocation(LMKUserLocation& userLocation) {
    if (auto map = mapView())
        map->updateLocationData(userLocation);
}

void mapViewController::didStopLocatingUser() {
    platform::log("stop locate");
}

void mapViewController::didFailToLocateUserWithError(const platform::DeviceError& /*error*/) {
    platform::log("location error");
}
