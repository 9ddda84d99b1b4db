#include "widgets/ProgressHUDConveniences.h"

#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Bundle.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Window.h"

using platform::View;
using platform::components::ProgressHUD;
using platform::components::ProgressHUDMode;

namespace {

const char* kIconBundle = "MBProgressHUD.bundle/";
const char* kSuccessIcon = "success.png";
const char* kErrorIcon = "error.png";

std::shared_ptr<View> viewOrLastWindow(const std::shared_ptr<View>& view) {
    if (view) {
        return view;
    }
    auto windows = platform::Application::shared().windows();
    if (windows.empty()) {
        return nullptr;
    }
    return windows.back();
}

platform::Image bundleIcon(const std::string& icon) {
    auto path = platform::Bundle::main().pathForResource(kIconBundle + icon, "");
    return path ? platform::Image::fromFile(*path) : platform::Image();
}

}  // namespace

void ProgressHUDConveniences::show(const std::string& text, const std::string& icon,
                                   const std::shared_ptr<View>& view) {
    auto target = viewOrLastWindow(view);
    if (!target) {
        return;
    }
    auto hud = ProgressHUD::showHUDAddedTo(*target, true);
    hud->setLabelText(text);
    auto image = bundleIcon(icon);
    auto iconView = View::make<platform::ImageView>(image);
    if (image.isNull()) {
        // A missing icon keeps its place, so the toast looks the same apart from it.
        iconView->setFrame({{0, 0}, {ProgressHUD::kIndicatorSize, ProgressHUD::kIndicatorSize}});
    }
    hud->setCustomView(iconView);
    hud->setMode(ProgressHUDMode::CustomView);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hide(true, kToastDuration);
}

void ProgressHUDConveniences::showSuccess(const std::string& text) {
    showSuccessToView(text, nullptr);
}

void ProgressHUDConveniences::showSuccessToView(const std::string& text,
                                                const std::shared_ptr<View>& view) {
    show(text, kSuccessIcon, view);
}

void ProgressHUDConveniences::showError(const std::string& text) {
    showErrorToView(text, nullptr);
}

void ProgressHUDConveniences::showErrorToView(const std::string& text,
                                              const std::shared_ptr<View>& view) {
    show(text, kErrorIcon, view);
}

std::shared_ptr<ProgressHUD> ProgressHUDConveniences::showMessage(const std::string& text) {
    return showMessageToView(text, nullptr);
}

std::shared_ptr<ProgressHUD> ProgressHUDConveniences::showMessageToView(
    const std::string& text, const std::shared_ptr<View>& view) {
    auto target = viewOrLastWindow(view);
    if (!target) {
        return nullptr;
    }
    auto hud = ProgressHUD::showHUDAddedTo(*target, true);
    hud->setLabelText(text);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->setDimBackground(true);
    return hud;
}

void ProgressHUDConveniences::hideHUD() {
    hideHUDForView(nullptr);
}

void ProgressHUDConveniences::hideHUDForView(const std::shared_ptr<View>& view) {
    // The show operations put an overlay on the last window when given no view; hiding
    // looks in the same place, or showMessage's overlay could never be taken down this way.
    if (auto target = viewOrLastWindow(view)) {
        ProgressHUD::hideHUDForView(*target, true);
    }
}

std::shared_ptr<ProgressHUD> ProgressHUDConveniences::showHUDWithStr(
    const std::shared_ptr<View>& view, const std::string& text) {
    auto target = viewOrLastWindow(view);
    if (!target) {
        return nullptr;
    }
    auto hud = ProgressHUD::showHUDAddedTo(*target, true);
    hud->setMode(ProgressHUDMode::Text);
    hud->setLabelText(text);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hide(true, kToastDuration);
    return hud;
}
