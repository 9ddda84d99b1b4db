#include "platform/ui/NavigationController.h"
#include "webcontainer/WebDetailViewController.h"
#include "webcontainer/mapViewController.h"

namespace {

// The campus's main gate. The map page keeps them but centres on the user.
constexpr const char* kDefaultLatitude = "30.274100";
constexpr const char* kDefaultLongitude = "120.155100";

}  // namespace

void WebDetailViewController::openLocation() {
    auto navigation = navigationController();
    if (!navigation)
        return;
    auto page = std::make_shared<mapViewController>();
    page->setLatitude(kDefaultLatitude);
    page->setLongitude(kDefaultLongitude);
    navigation->pushViewController(page, true);
}
