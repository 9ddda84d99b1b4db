#include "SocialSDK/service/SHSocialUIHelper.h"

#include "SocialSDK/service/SHSSharedInstance.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "components/hud/ProgressHUD.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Window.h"

namespace {

constexpr float kLightBar = 238 / 255.0f;
const platform::Rect kBarButtonFrame{{0, 0}, {50, 30}};
const std::string kButtons = "SHSocialSDKResourcesNew.bundle/Buttons/";
const std::string kOtherTheme = "SHSocialSDKResourcesNew.bundle/OtherTheme/";

bool defaultTheme() {
    return SHSocialConfigInternal::shareInstance().socialTheme == 1;
}

}  // namespace

const platform::Color SHSocialUIHelper::kTitleColor =
    platform::Color::rgba(70 / 255.0f, 79 / 255.0f, 97 / 255.0f);

SHSocialUIHelper& SHSocialUIHelper::shareInstance() {
    return SHSSharedInstance<SHSocialUIHelper>::get();
}

void SHSocialUIHelper::resetSharedInstance() {
    SHSSharedInstance<SHSocialUIHelper>::reset();
}

void SHSocialUIHelper::customNavBar(const std::shared_ptr<platform::NavigationBar>& bar) {
    if (!bar)
        return;
    setTranslucent(bar);
    if (defaultTheme()) {
        bar->setTitleTextAttributes({platform::Font::systemFont(18), kTitleColor});
        bar->setBackgroundImage(platform::Image::named(kButtons + "SHS_nav_bar_bg_white"));
    } else {
        bar->setBackgroundImage(platform::Image::named(kButtons + "SHS_nav_bar_bg"));
    }
}

void SHSocialUIHelper::setTranslucent(const std::shared_ptr<platform::NavigationBar>& bar) {
    if (!bar)
        return;
    auto& helper = shareInstance();
    if (!helper.isSetTranslucent)
        helper.isTranslucent = bar->isTranslucent();
    bar->setTranslucent(false);
}

void SHSocialUIHelper::setNavigationBarTranslucent(
    const std::shared_ptr<platform::NavigationBar>& bar) {
    if (!bar || !shareInstance().isTranslucent)
        return;
    bar->setTranslucent(true);
    bar->setBackgroundImage(platform::Image{});
}

void SHSocialUIHelper::customNavigationItem(platform::NavigationItem& item,
                                            const platform::Color& color) {
    auto label = std::make_shared<platform::Label>(platform::Rect{{0, 0}, {150, 30}});
    label->setFont(platform::Font::systemFont(18));
    label->setTextColor(color);
    label->setBackgroundColor(platform::Color::clear());
    label->setText(item.title());
    if (item.title().empty())
        label->setFrame(platform::Rect{});
    else
        label->sizeToFit();
    item.setTitleView(label);
}

platform::Image SHSocialUIHelper::otherThemeImage(const std::string& name) {
    return platform::Image::named(kOtherTheme + name);
}

void SHSocialUIHelper::customNavBackButton(platform::Button& button, const std::string& title) {
    button.setFrame(kBarButtonFrame);
    if (defaultTheme()) {
        button.setImage(platform::Image::named(kButtons + "SHS_nav_button_back"));
        return;
    }
    button.titleLabel()->setFont(platform::Font::boldSystemFont(13));
    button.setTitle(title);
    button.setTitle(title, platform::ControlState::Highlighted);
    button.setTitleEdgeInsets({0, 6, 0, 0});
    button.setBackgroundImage(otherThemeImage("SHS_nav_back_button_normal"));
    button.setBackgroundImage(otherThemeImage("SHS_nav_back_button_tap"),
                              platform::ControlState::Highlighted);
}

void SHSocialUIHelper::customNavPostButton(platform::Button& button) {
    if (!defaultTheme())
        return customNavButton(button, "");
    button.setFrame(kBarButtonFrame);
    button.setImage(platform::Image::named(kButtons + "SHS_nav_button_send"));
}

void SHSocialUIHelper::customNavRefreshButton(platform::Button& button) {
    if (!defaultTheme())
        return customNavButton(button, "");
    button.setFrame(kBarButtonFrame);
    button.setImage(platform::Image::named(kButtons + "SHS_nav_button_refresh"));
}

void SHSocialUIHelper::customNavButton(platform::Button& button, const std::string& /*title*/) {
    // The title is not shown here: in the other theme the configuration's bar hook gives the
    // button its title and background.
    button.setFrame(kBarButtonFrame);
    if (defaultTheme())
        button.setImage(platform::Image::named(kButtons + "SHS_nav_button_close"));
}

void SHSocialUIHelper::showHUD() {
    if (SHSocialConfig::shareInstance().hiddenLoadingHUD) {
        hideHUD();
        return;
    }
    const auto windows = platform::Application::shared().windows();
    if (windows.empty())
        return;
    auto& helper = shareInstance();
    if (!helper.hud)
        helper.hud = std::make_shared<SHSocialMBProgressHUD>(*windows.front());
    windows.front()->addSubview(helper.hud);
    helper.hud->show(true);
}

void SHSocialUIHelper::hideHUD() {
    if (auto hud = shareInstance().hud)
        hud->hide(true);
}

// --- Mask panel ------------------------------------------------------------------------------

SHMaskView::SHMaskView(const platform::Rect& frame) : platform::View(frame) {
    setBackgroundColor(platform::Color::gray());
    m_statusLabel = std::make_shared<platform::Label>(platform::Rect{{0, 0}, {180, 21}});
    m_statusLabel->setFont(platform::Font::systemFont(13));
    m_statusLabel->setBackgroundColor(platform::Color::clear());
    m_statusLabel->setText(SHSocialLocalizedString("oauth_text", "正在连接授权页面，请稍等..."));
    m_statusLabel->setTextAlignment(platform::TextAlignment::Center);
    m_statusLabel->setAlpha(0.8);
    addSubview(m_statusLabel);
    m_spinner =
        std::make_shared<platform::ActivityIndicatorView>(platform::Rect{{150, 150}, {20, 20}});
    m_spinner->setStyle(platform::ActivityIndicatorViewStyle::Gray);
    m_spinner->setBackgroundColor(platform::Color::clear());
    m_spinner->startAnimating();
    addSubview(m_spinner);
    m_isActivity = true;
    setCornerRadius(7);
    setClipsToBounds(true);
    setAlpha(0.8);
}

std::shared_ptr<SHMaskView> SHMaskView::makeRoundedView() {
    auto mask = std::make_shared<SHMaskView>(platform::Rect{{50, 160}, {200, 100}});
    mask->setCenter(platform::Point{160, 190});
    mask->setAlpha(0.7);
    mask->m_statusLabel->setText(SHSocialLocalizedString("mask_text", "请稍等......"));
    mask->m_statusLabel->setTextColor(platform::Color::white());
    return mask;
}

void SHMaskView::setIsActivity(bool activity) {
    platform::View::animate(0.3, [this, activity] {
        setAlpha(activity ? 0.7 : 0);
        setHidden(!activity);
    });
    if (activity)
        m_spinner->startAnimating();
    else
        m_spinner->stopAnimating();
    m_isActivity = activity;
}

void SHMaskView::setStatusText(const std::string& text) {
    m_statusText = text;
    m_statusLabel->setText(text);
    m_statusLabel->sizeToFit();
}

void SHMaskView::layoutSubviews() {
    const platform::Size size = bounds().size;
    const platform::Point labelCenter{size.width / 2 + 10, size.height / 2};
    m_statusLabel->setCenter(labelCenter);
    m_spinner->setCenter(platform::Point{
        labelCenter.x - 10 - m_statusLabel->bounds().size.width / 2, labelCenter.y});
}
