#include "SocialSDK/service/SHSViewControllerFactory.h"

#include <utility>

#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "platform/foundation/Log.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"

namespace {

SHSViewControllerFactory::Installer& installerSlot() {
    static SHSViewControllerFactory::Installer installer = nullptr;
    return installer;
}

}  // namespace

SHSViewControllerFactory::SHSViewControllerFactory() {
    if (auto install = installerSlot())
        install(screens);
}

void SHSViewControllerFactory::registerScreens(Installer installer) {
    installerSlot() = installer;
    if (installer)
        installer(sharedInstance().screens);
}

std::shared_ptr<platform::ViewController> SHSViewControllerFactory::createSocialViewController(
    int type, int snsType, SHSocialControllerService& service,
    const std::optional<std::string>& sourceOpType) {
    viewControllerStack.push_back(type);
    std::string name;
    if (snsType != 0)
        name = SHSocialSnsPlatformManager::getSnsPlatformString(snsType).value_or("");
    else
        name = service.currentSnsPlatformName.value_or("");
    bool missing = false;
    // The screen of the maker; a missing maker is noted.
    auto make = [&missing](const auto& maker,
                           auto&&... arguments) -> std::shared_ptr<platform::ViewController> {
        missing = !maker;
        if (missing)
            return nullptr;
        return maker(std::forward<decltype(arguments)>(arguments)...);
    };
    std::shared_ptr<platform::ViewController> screen;
    switch (type) {
        case SHSViewControllerShareList:
            screen = make(screens.shareList, service);
            break;
        case SHSViewControllerShareEdit:
            screen = make(screens.shareEdit, service, name, sourceOpType);
            break;
        case SHSViewControllerOauth:
            screen = make(screens.oauth, service, name, sourceOpType);
            break;
        case SHSViewControllerFriend:
            screen = make(screens.friendList, service);
            break;
        default:
            break;
    }
    // A host that links only the service library would otherwise see its taps do nothing.
    if (missing)
        platform::log(
            "SHSocial: the share screens are not linked; link the socialsdk target "
            "(screen type %d)",
            type);
    return screen;
}
