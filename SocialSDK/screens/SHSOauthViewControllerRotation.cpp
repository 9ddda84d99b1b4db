// The platform sign-in page's rotation methods and its tablet sizing.
#include <string>

#include "SocialSDK/screens/SHSOauthCallback.h"
#include "SocialSDK/screens/SHSOauthViewController.h"
#include "SocialSDK/screens/SHSPadBounds.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialUIHelper.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/WebView.h"

namespace {

// The login page of the "tencent" platform's own site, laid out for a desktop's width.
const std::string kTencentLoginPagePrefix =
    "http://" + std::string(SHSOauthCallback::kMobileSignInHost) + "/login";

}  // namespace

bool SHSOauthViewController::isOnlyScreen() {
    auto navigation = navigationController();
    return navigation && navigation->viewControllers().size() == 1 &&
           navigation->viewControllers().front().get() == this;
}

void SHSOauthViewController::viewWillAppear(bool animated) {
    platform::ViewController::viewWillAppear(animated);
    if (!SHSPadBounds::onPad() || !isOnlyScreen())
        return;
    auto sheet = SHSPadBounds::holder(*this);
    if (!sheet)
        return;
    const platform::Rect pad = SHSPadBounds::apply(*this, false);
    if (m_webView)
        m_webView->setFrame(platform::Rect{{0, 0}, {pad.width() + 20, pad.height()}});
    if (m_maskView)
        m_maskView->setFrame(sheet->bounds());
}

bool SHSOauthViewController::shouldAutorotateToInterfaceOrientation(
    platform::InterfaceOrientation orientation) {
    return SHSocialConfigInternal::shareInstance().shouldAutorotateToInterfaceOrientation(
        static_cast<int>(orientation));
}

void SHSOauthViewController::willRotateToInterfaceOrientation(platform::InterfaceOrientation,
                                                              double) {
    if (!SHSPadBounds::onPad() || !isOnlyScreen())
        return;
    if (auto sheet = SHSPadBounds::holder(*this)) {
        SHSPadBounds::apply(*this, false);
        if (m_webView)
            m_webView->setFrame(sheet->bounds());
        if (m_maskView)
            m_maskView->setFrame(sheet->bounds());
    }
    if (auto navigation = navigationController()) {
        SHSocialUIHelper::customNavBar(navigation->navigationBar());
        SHSocialConfigInternal::shareInstance().configureNavigationBar(
            navigation->navigationBar(), nullptr, nullptr, nullptr, nullptr, nullptr);
    }
}

void SHSOauthViewController::didRotateFromInterfaceOrientation(platform::InterfaceOrientation) {
    if (SHSPadBounds::onPad() || !m_webView)
        return;
    const auto size = view()->bounds().size;
    m_webView->setFrame(platform::Rect{{0, 0}, size});
}

bool SHSOauthViewController::isWideLoginPage(const std::string& platformName,
                                             const std::string& url) {
    if (platformName == "sina")
        return true;
    return platformName == "tencent" && url.rfind(kTencentLoginPagePrefix, 0) == 0;
}

void SHSOauthViewController::setContentOffset() {
    if (!SHSPadBounds::onPad() || !m_webView ||
        !isWideLoginPage(platformName(), m_webView->pageURL()))
        return;
    const auto& scroll = m_webView->scrollView();
    const double x = (scroll->contentSize().width - m_webView->bounds().width()) * 0.5;
    scroll->setContentOffset(platform::Point{x, 0}, true);
}
