#include "components/hud/StatusHUD.h"

#include "components/hud/ProgressHUD.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace platform::components {

namespace {

std::weak_ptr<ProgressHUD>& shared() {
    static std::weak_ptr<ProgressHUD> overlay;
    return overlay;
}

}  // namespace

std::shared_ptr<ProgressHUD> StatusHUD::current() {
    auto overlay = shared().lock();
    return overlay && overlay->isShowing() && overlay->superview() ? overlay : nullptr;
}

void StatusHUD::showWithStatus(const std::string& status) {
    if (auto overlay = current()) {
        overlay->setLabelText(status);
        return;
    }
    auto windows = Application::shared().windows();
    if (windows.empty())
        return;
    auto overlay = ProgressHUD::showHUDAddedTo(*windows.back(), true);
    overlay->setLabelText(status);
    overlay->setRemoveFromSuperViewOnHide(true);
    overlay->setUserInteractionEnabled(false);
    shared() = overlay;
}

void StatusHUD::dismiss() {
    if (auto overlay = current())
        overlay->hide(true);
    shared().reset();
}

}  // namespace platform::components
