#include "webcontainer/mapViewController.h"

#include "location/LMKLocationService.h"
#include "location/LMKMapView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "widgets/ViewControllerBackBarItem.h"

mapViewController::mapViewController() = default;

void mapViewController::loadView() {
    setView(makeMapLayout(0));
}

void mapViewController::viewDidLoad() {
    LocatingMapScreen::viewDidLoad();
    setTitle(kTitle);

    std::weak_ptr<mapViewController> weak =
        std::static_pointer_cast<mapViewController>(shared_from_this());
    auto backButton = backBarBtnWithAction(*this, [weak](platform::Control&) {
        if (auto page = weak.lock())
            page->back();
    });
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(backButton));

    makeLocationService();
    if (auto* locService = service())
        locService->startUserLocationService();

    if (auto map = mapView()) {
        map->setZoomLevel(kZoomLevel);
        map->setUserTrackingMode(LMKUserTrackingMode::Follow);
        map->setShowsUserLocation(true);
    }
}

void mapViewController::viewDidDisappear(bool animated) {
    LocatingMapScreen::viewDidDisappear(animated);
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
