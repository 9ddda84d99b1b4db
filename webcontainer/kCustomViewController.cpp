#include "webcontainer/kCustomViewController.h"

#include "components/hud/ProgressHUD.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Application.h"
#include "platform/ui/RectEdge.h"
#include "platform/ui/Window.h"

void kCustomViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::rgba(247 / 255.0f, 247 / 255.0f, 247 / 255.0f));
    setEdgesForExtendedLayout(platform::RectEdge::None);
}

void kCustomViewController::showHUDWithStr(const std::string& text) {
    auto windows = platform::Application::shared().windows();
    std::shared_ptr<platform::View> host = windows.empty() ? nullptr : windows.back();
    if (!host)
        host = view();
    auto hud = platform::components::ProgressHUD::showHUDAddedTo(*host, true);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->setColor(platform::Color::whiteAlpha(0, 0.7f));
    hud->setMode(platform::components::ProgressHUDMode::Text);
    hud->setLabelText(text);
    hud->setLabelFont(platform::Font::systemFont(16));
    hud->hide(true, kHUDSeconds);
}
