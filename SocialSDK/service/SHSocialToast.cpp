#include "SocialSDK/service/SHSocialToast.h"

#include <algorithm>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "components/hud/ProgressHUD.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

using platform::components::ProgressHUD;

namespace {

SHSocialiToastSettings& settingsSlot() {
    static SHSocialiToastSettings settings;
    return settings;
}

}  // namespace

SHSocialiToastSettings& SHSocialiToastSettings::getSharedSettings() {
    return settingsSlot();
}

void SHSocialiToastSettings::resetSharedSettings() {
    settingsSlot() = SHSocialiToastSettings{};
}

SHSocialiToast::SHSocialiToast(std::string text) : m_text(std::move(text)) {
    // The configuration's first use puts the toasts at the top; it comes before the settings
    // are read, so a toast made before anything else asked for it stands there too.
    SHSocialConfig::shareInstance();
    const auto& settings = SHSocialiToastSettings::getSharedSettings();
    m_duration = settings.duration;
    m_gravity = settings.gravity;
}

std::shared_ptr<SHSocialiToast> SHSocialiToast::makeText(const std::string& text) {
    return std::shared_ptr<SHSocialiToast>(new SHSocialiToast(text));
}

double SHSocialiToast::boxCenterY(SHSocialiToastGravity gravity, double windowHeight,
                                  double boxHeight) {
    switch (gravity) {
        case SHSocialiToastGravity::Top:
            return kEdgeDistance + boxHeight / 2;
        case SHSocialiToastGravity::Bottom:
            return windowHeight - kEdgeDistance - boxHeight / 2;
        case SHSocialiToastGravity::Center:
            break;
    }
    return windowHeight / 2;
}

void SHSocialiToast::show() {
    SHSocialUtils::outLog("toast: %@", m_text);
    if (SHSocialiToastSettings::getSharedSettings().hidden ||
        SHSocialConfig::shareInstance().hiddenStatusTip)
        return;
    auto window = platform::Application::shared().keyWindow();
    if (!window)
        return;
    removeToast();
    auto hud = platform::View::make<ProgressHUD>(*window);
    hud->setMode(platform::components::ProgressHUDMode::Text);
    hud->setLabelText(m_text);
    // A message, not a wait: what lies under it stays usable.
    hud->setUserInteractionEnabled(false);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->setHandle("share-toast");
    window->addSubview(hud);
    hud->layoutIfNeeded();
    const double height = window->bounds().size.height;
    const double box = hud->boxFrame().size.height;
    hud->setYOffset(boxCenterY(m_gravity, height, box) - height / 2);
    hud->layoutIfNeeded();
    hud->show(true);
    hud->hide(true, std::max(0, m_duration) / 1000.0);
    m_view = hud;
}

void SHSocialiToast::removeToast() {
    if (auto hud = m_view.lock())
        hud->hide(true);
    m_view.reset();
}

std::shared_ptr<ProgressHUD> SHSocialiToast::view() const {
    auto hud = m_view.lock();
    return hud && hud->isShowing() ? hud : nullptr;
}

void SHSocialToast::makeTextAndShow(const std::string& text) {
    SHSocialiToast::makeText(text)->show();
}
