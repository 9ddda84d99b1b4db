#include "SocialSDK/screens/SHSocialScreens.h"

#include "SocialSDK/screens/SHSOauthViewController.h"
#include "SocialSDK/screens/SHSPadBounds.h"
#include "SocialSDK/screens/SHSShareListController.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/screens/SHSocialFriendViewController.h"
#include "SocialSDK/service/SHSViewControllerFactory.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"

namespace {

void installScreens(SHSocialControllerService::Screens& screens) {
    screens.shareEdit = [](SHSocialControllerService& service, const std::string&,
                           const std::optional<std::string>&) {
        // The layout file by the device: the tablet's has no account panel.
        return std::make_shared<SHShareEditViewController>(
            service.shared_from_this(), SHSPadBounds::onPad()
                                            ? SHShareEditViewController::kPadLayout
                                            : SHShareEditViewController::kPhoneLayout);
    };
    screens.oauth = [](SHSocialControllerService& service, const std::string&,
                       const std::optional<std::string>&) {
        return std::make_shared<SHSOauthViewController>(service.shared_from_this());
    };
    screens.shareList = [](SHSocialControllerService& service) {
        auto list = std::make_shared<SHSShareListController>();
        list->setSocialControllerService(service.weak_from_this());
        list->setAllSnsArray(SHSocialConfigInternal::shareInstance().snsPlatformNames);
        return service.makeNavigationControllerWithContorller(list);
    };
    screens.friendList = [](SHSocialControllerService& service) {
        auto picker = std::make_shared<SHSocialFriendViewController>();
        picker->socialControllerService = service.weak_from_this();
        return picker;
    };
}

}  // namespace

void SHSocialInstallScreens() {
    SHSViewControllerFactory::registerScreens(&installScreens);
}
