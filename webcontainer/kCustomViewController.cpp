#include "webcontainer/kCustomViewController.h"

#include <algorithm>

#include "client/DictionaryUtility.h"
#include "client/ServiceConfig.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Font.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/RectEdge.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace {

constexpr const char* kAlertTitle = "提示";
constexpr const char* kAlertButton = "确认";
constexpr const char* kLoadingText = "努力加载中";
constexpr const char* kEmptyListPicture = "暂无好友提示";
constexpr const char* kUserInfoKey = "UserInfo";

std::shared_ptr<platform::View> lastWindow(const std::shared_ptr<platform::View>& fallback) {
    auto windows = platform::Application::shared().windows();
    if (!windows.empty() && windows.back())
        return windows.back();
    return fallback;
}

std::string userInfoMember(const std::string& key) {
    auto info = platform::UserDefaults::standard().dictionaryForKey(kUserInfoKey);
    if (!info)
        return "";
    const auto value = objectForKeyNotBackNull(*info, key);
    return value.is_string() ? value.get<std::string>() : "";
}

}  // namespace

void kCustomViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::rgba(247 / 255.0f, 247 / 255.0f, 247 / 255.0f));
    setEdgesForExtendedLayout(platform::RectEdge::None);
}

void kCustomViewController::showHUDWithStr(const std::string& text) {
    auto host = lastWindow(view());
    auto hud = platform::components::ProgressHUD::showHUDAddedTo(*host, true);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->setColor(platform::Color::whiteAlpha(0, 0.7f));
    hud->setMode(platform::components::ProgressHUDMode::Text);
    hud->setLabelText(text);
    hud->setLabelFont(platform::Font::systemFont(16));
    hud->hide(true, kHUDSeconds);
}

void kCustomViewController::showAlertViewStr(const std::string& message) {
    auto delegate = std::dynamic_pointer_cast<platform::AlertViewDelegate>(shared_from_this());
    auto alert = platform::View::make<platform::AlertView>(
        kAlertTitle, message, std::weak_ptr<platform::AlertViewDelegate>(delegate), kAlertButton,
        std::vector<std::string>{});
    alert->show();
}

void kCustomViewController::addImgV() {
    if (m_imgV) {
        m_imgV->setHidden(false);
        return;
    }
    const auto picture = platform::Image::named(kEmptyListPicture);
    const platform::Size screen = platform::Screen::main().size();
    const platform::Size size{picture.size().width / 2, picture.size().height / 2};
    m_imgV = platform::View::make<platform::ImageView>(platform::Rect{{0, 0}, size});
    m_imgV->setImage(picture);
    m_imgV->setCenter({screen.width / 2, screen.height / 2 - 64});
    view()->addSubview(m_imgV);
}

void kCustomViewController::dismissIMGV() {
    if (m_imgV)
        m_imgV->setHidden(true);
}

void kCustomViewController::removeImgV() {
    dismissIMGV();
}

bool kCustomViewController::saveHeadPicWithData(std::string_view data) {
    const std::string account = userInfoMember("userAccount");
    const std::filesystem::path name(account);
    if (account.empty() || name != name.filename() || account == "." || account == "..") {
        platform::log("error:%@", "no usable account name for the head picture");
        return false;
    }
    const auto directory = platform::paths::cachesDirectory();
    std::error_code ignored;
    std::filesystem::create_directories(directory, ignored);
    if (!platform::writeFileAtomically(directory / name, data)) {
        platform::log("error:%@", "could not write the head picture for " + account);
        return false;
    }
    return true;
}

std::string kCustomViewController::setHeadImage() const {
    return ServiceConfig::shared().appServiceRoot + userInfoMember("headImg");
}

void kCustomViewController::loading() {
    endLoading();
    platform::log("加载");
    m_hud = platform::components::ProgressHUD::showHUDAddedTo(*lastWindow(view()), true);
    m_hud->setLabelText(kLoadingText);
}

void kCustomViewController::endLoading() {
    if (!m_hud)
        return;
    platform::log("隐藏");
    m_hud->hide(true);
    m_hud.reset();
}

platform::Image kCustomViewController::imageByScalingAndCroppingForSize(
    const platform::Image& image, platform::Size size) {
    const platform::Size natural = image.size();
    if (image.isNull() || !(size.width > 0) || !(size.height > 0) || !(natural.width > 0) ||
        !(natural.height > 0)) {
        platform::log("could not scale image");
        return {};
    }
    const double factor = std::max(size.width / natural.width, size.height / natural.height);
    const platform::Size scaled{natural.width * factor, natural.height * factor};
    const platform::Point origin{(size.width - scaled.width) / 2,
                                 (size.height - scaled.height) / 2};
    platform::BitmapContext context(size, image.scale());
    context.drawImageUpright(image, platform::Rect{origin, scaled});
    auto result = context.makeImage();
    if (result.isNull())
        platform::log("could not scale image");
    return result;
}
