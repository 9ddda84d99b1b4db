#include "webcontainer/LocatingMapScreen.h"

#include "location/LMKLocationService.h"
#include "location/LMKMapView.h"
#include "location/LMKUserLocation.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Screen.h"

LocatingMapScreen::LocatingMapScreen() = default;

LocatingMapScreen::~LocatingMapScreen() {
    // Nothing may call back into a screen that is being destroyed: the service forgets it
    // before it stops.
    stopLocationService();
}

std::shared_ptr<platform::View> LocatingMapScreen::makeMapLayout(double bottomSpace) {
    auto view = platform::View::make<platform::View>(platform::Screen::main().bounds());
    view->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    platform::Rect area = view->bounds();
    area.size.height -= bottomSpace;
    auto map = platform::View::make<LMKMapView>(area);
    map->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                             platform::AutoresizingMask::FlexibleHeight);
    map->setHandle("map");
    view->addSubview(map);
    m_mapView = map;
    return view;
}

void LocatingMapScreen::makeLocationService() {
    m_locService = LMKLocationService::create();
}

void LocatingMapScreen::stopLocationService() {
    if (!m_locService)
        return;
    m_locService->setDelegate({});
    m_locService->stopUserLocationService();
}

void LocatingMapScreen::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    auto self = std::static_pointer_cast<LocatingMapScreen>(shared_from_this());
    if (auto map = mapView()) {
        map->viewWillAppear();
        map->setDelegate(std::static_pointer_cast<LMKMapViewDelegate>(self));
    }
    if (m_locService)
        m_locService->setDelegate(std::static_pointer_cast<LMKLocationServiceDelegate>(self));
}

void LocatingMapScreen::viewWillDisappear(bool animated) {
    ViewController::viewWillDisappear(animated);
    if (auto map = mapView()) {
        map->viewWillDisappear();
        map->setDelegate({});
    }
    if (m_locService)
        m_locService->setDelegate({});
}

std::string LocatingMapScreen::headingText(const LMKUserLocation& userLocation) {
    if (!userLocation.heading()) {
        return "";
    }
    const platform::Heading& heading = *userLocation.heading();
    return "magnetic " + platform::describe(heading.magneticHeading) + ", true " +
           platform::describe(heading.trueHeading) + ", accuracy " +
           platform::describe(heading.headingAccuracy);
}

void LocatingMapScreen::willStartLocatingUser() {
    platform::log("start locate");
}

void LocatingMapScreen::didUpdateUserHeading(LMKUserLocation& userLocation) {
    platform::log("heading is %@", headingText(userLocation));
    if (auto map = mapView())
        map->updateLocationData(userLocation);
}

void LocatingMapScreen::didUpdateLMKUserLocation(LMKUserLocation& userLocation) {
    if (auto map = mapView())
        map->updateLocationData(userLocation);
}

void LocatingMapScreen::didStopLocatingUser() {
    platform::log("stop locate");
}

void LocatingMapScreen::didFailToLocateUserWithError(const platform::DeviceError& /*error*/) {
    platform::log("location error");
}
