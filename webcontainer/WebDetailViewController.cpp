#include "webcontainer/WebDetailViewController.h"

#include "client/SignInState.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/URLRequest.h"
#include "platform/ui/WebView.h"
#include "signin/LoginViewController.h"

WebDetailViewController::WebDetailViewController() = default;
WebDetailViewController::~WebDetailViewController() = default;

void WebDetailViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    setTitle(m_titleStr);

    auto self = std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    m_webView = platform::View::make<platform::WebView>(view()->bounds());
    m_webView->setDelegate(std::static_pointer_cast<platform::WebViewDelegate>(self));
    view()->addSubview(m_webView);

    std::weak_ptr<WebDetailViewController> weakSelf = self;
    platform::NotificationCenter::defaultCenter().addObserver(
        std::weak_ptr<const void>(self), SignInNotification::LoginSuccess,
        [weakSelf](const platform::Notification& notification) {
            if (auto screen = weakSelf.lock())
                screen->CalkBackUserMessage(notification);
        });

    platform::URLRequest request;
    request.url = m_urlStr;
    request.ignoreCache = true;
    request.timeoutSeconds = kTimeoutSeconds;
    m_webView->loadRequest(request);
    showLoadingOverlay();
}

std::shared_ptr<platform::components::ProgressHUD> WebDetailViewController::loadingOverlay() const {
    auto overlay = m_loadingOverlay.lock();
    return overlay && overlay->isShowing() ? overlay : nullptr;
}

void WebDetailViewController::presentWebSignIn() {
    presentSignIn(true, false);
}

void WebDetailViewController::popViewController() {
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

void WebDetailViewController::webViewDidStartLoad(platform::WebView& /*webView*/) {
    showLoadingOverlay();
}

void WebDetailViewController::webViewDidFinishLoad(platform::WebView& /*webView*/) {
    hideLoadingOverlay();
}

void WebDetailViewController::didFailLoadWithError(platform::WebView& /*webView*/,
                                                   const platform::WebError& error) {
    platform::log("error:%@", error.description);
    hideLoadingOverlay();
}

void WebDetailViewController::presentSignIn(bool isWebLogin, bool animated) {
    auto self = std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    auto page = std::make_shared<LoginViewController>();
    page->setIsWebLogin(isWebLogin);
    page->setLoginPopViewDelegeta(std::weak_ptr<loginPopViewDelegeta>(self));
    std::shared_ptr<platform::ViewController> presenter = navigationController();
    if (!presenter)
        presenter = self;
    presenter->presentViewController(page, animated);
}

void WebDetailViewController::showLoadingOverlay() {
    if (loadingOverlay() || !isViewLoaded())
        return;
    auto overlay = platform::components::ProgressHUD::showHUDAddedTo(*view(), true);
    overlay->setLabelText(kLoadingText);
    overlay->setRemoveFromSuperViewOnHide(true);
    m_loadingOverlay = overlay;
}

void WebDetailViewController::hideLoadingOverlay() {
    if (auto overlay = loadingOverlay())
        overlay->hide(true);
    m_loadingOverlay.reset();
}
