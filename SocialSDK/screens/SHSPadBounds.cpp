#include "SocialSDK/screens/SHSPadBounds.h"

#include "SocialSDK/service/SHSocialConfig.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace SHSPadBounds {

bool onPad() {
    return platform::Application::shared().userInterfaceIdiom() ==
           platform::UserInterfaceIdiom::Pad;
}

platform::Rect configured(bool nullFallback) {
    platform::Rect bounds = SHSocialConfigInternal::shareInstance().boundsForiPad;
    if (nullFallback && (bounds.width() <= 0 || bounds.height() <= 0))
        bounds = platform::Rect{{0, 0}, kNullFallback};
    return bounds;
}

std::shared_ptr<platform::View> holder(platform::ViewController& screen) {
    auto navigation = screen.navigationController();
    auto view = navigation ? navigation->viewIfLoaded() : nullptr;
    auto superview = view ? view->superview() : nullptr;
    if (!superview || std::dynamic_pointer_cast<platform::Window>(superview))
        return nullptr;
    return superview;
}

platform::Rect apply(platform::ViewController& screen, bool nullFallback) {
    auto view = holder(screen);
    if (!view)
        return {};
    const platform::Rect bounds = configured(nullFallback);
    view->setBounds(bounds);
    return bounds;
}

}  // namespace SHSPadBounds
