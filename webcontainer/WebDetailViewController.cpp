#include "webcontainer/WebDetailViewController.h"

#include <algorithm>

#include "client/SignInState.h"
#include "client/WeakBind.h"
#include "components/hud/ProgressHUD.h"
#include "components/photopicker/WebPhotoFilePicker.h"
#include "components/webprogress/WebViewProgress.h"
#include "components/webprogress/WebViewProgressView.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Image.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/WebView.h"
#include "platform/web/URLRequest.h"
#include "signin/LoginViewController.h"

namespace {

// The screen's images, handles, log line and geometry (points).
constexpr const char* kBackImage = "返回.png";
constexpr const char* kBackHighlightedImage = "返回-过度.png";
constexpr const char* kFailImage = "页面加载失败";
constexpr const char* kReloadImage = "web刷新";
constexpr const char* kBackHandle = "back";
constexpr const char* kReloadHandle = "reload";
constexpr const char* kFailLog = "errorerrorerrorerror%@";
constexpr platform::Size kBackButtonSize{25 / 0.9, 21 / 0.9};
// The web view leaves this much of the view's height below it.
constexpr double kWebViewBottomInset = 64;
constexpr double kProgressLineHeight = 2;
constexpr platform::Size kFailImageSize{210, 95};
constexpr platform::Size kReloadButtonSize{77, 32};
// The reload button's top, below the middle of the web view.
constexpr double kReloadButtonOffset = 64.5;

}  // namespace

WebDetailViewController::WebDetailViewController() = default;
WebDetailViewController::~WebDetailViewController() = default;

void WebDetailViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    setTitle(m_titleStr);
    backButton();
    createWebView();

    // Owned by this container: the observer goes when the container does, and a sign-in
    // posted after that reaches nothing.
    auto self = std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    std::weak_ptr<WebDetailViewController> weakSelf = self;
    platform::NotificationCenter::defaultCenter().addObserver(
        std::weak_ptr<const void>(self), SignInNotification::LoginSuccess,
        [weakSelf](const platform::Notification& notification) {
            if (auto screen = weakSelf.lock())
                screen->CalkBackUserMessage(notification);
        });

    showLoadingOverlay();
}

std::shared_ptr<platform::components::ProgressHUD> WebDetailViewController::loadingOverlay() const {
    auto overlay = m_loadingOverlay.lock();
    return overlay && overlay->isShowing() && overlay->superview() ? overlay : nullptr;
}

void WebDetailViewController::presentWebSignIn() {
    presentSignIn(true, false);
}

void WebDetailViewController::popViewController() {
    if (auto navigation = navigationController())
        navigation->popViewController(true);
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

// --- Container page ---------------------------------------------------------------------

void WebDetailViewController::showLoadingOverlay() {
    // While the first page loads, and while a command's pictures do; capped so that a page
    // that never answers does not cover the screen for good.
    if (loadingOverlay())
        return;
    auto overlay = platform::View::make<platform::components::ProgressHUD>(*view());
    view()->addSubview(overlay);
    overlay->setLabelText(kLoadingText);
    overlay->setRemoveFromSuperViewOnHide(true);
    overlay->showWhileExecutingDelay(kOverlaySeconds, {});
    m_loadingOverlay = overlay;
}

void WebDetailViewController::hideLoadingOverlay() {
    if (auto overlay = m_loadingOverlay.lock())
        overlay->removeFromSuperview();
    m_loadingOverlay.reset();
}

void WebDetailViewController::viewWillAppear(bool /*animated*/) {
    // The page or a screen pushed over it may have hidden the bar; it comes back here. The
    // status bar style a page set stays as it is.
    if (auto navigation = navigationController()) {
        auto bar = navigation->navigationBar();
        bar->setTranslucent(false);
        navigation->setNavigationBarHidden(false);
        if (m_progressView)
            bar->addSubview(m_progressView);
    }
}

void WebDetailViewController::viewWillDisappear(bool /*animated*/) {
    cancelCommandPictures();
    if (m_progressView)
        m_progressView->removeFromSuperview();
}

void WebDetailViewController::backButton() {
    auto button = platform::View::make<platform::Button>(platform::Rect{{0, 0}, kBackButtonSize});
    button->setBackgroundImage(platform::Image::named(kBackImage), platform::ControlState::Normal);
    button->setBackgroundImage(platform::Image::named(kBackHighlightedImage),
                               platform::ControlState::Highlighted);
    button->setHandle(kBackHandle);
    // It shows only its picture; a screen reader names it by its role.
    button->setAccessibilityLabel(kBackHandle);
    auto self = std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    button->addTarget(bindWeak(self, [](WebDetailViewController& page,
                                        platform::Control&) { page.backButtonAction(); }),
                      platform::ControlEvent::TouchUpInside);
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(button));
}

void WebDetailViewController::backButtonAction() {
    cancelCommandPictures();
    hideLoadingOverlay();
    if (m_webView && m_webView->canGoBack()) {
        m_webView->goBack();
        return;
    }
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

platform::URLRequest WebDetailViewController::pageRequest() const {
    platform::URLRequest request;
    request.url = m_urlStr;
    request.ignoreCache = true;
    request.timeoutSeconds = kTimeoutSeconds;
    return request;
}

void WebDetailViewController::createWebView() {
    const platform::Rect bounds = view()->bounds();
    m_webView = platform::View::make<platform::WebView>(
        platform::Rect{{0, 0}, {bounds.size.width, bounds.size.height - kWebViewBottomInset}});

    auto self = std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    m_progressProxy = std::make_shared<platform::components::WebViewProgress>();
    m_webView->setDelegate(m_progressProxy);
    m_progressProxy->setWebViewProxyDelegate(
        std::static_pointer_cast<platform::WebViewDelegate>(self));
    m_progressProxy->setProgressDelegate(
        std::static_pointer_cast<platform::components::WebViewProgressDelegate>(self));

    platform::Rect barFrame{
        {0, 0}, {platform::Screen::main().size().width, platform::NavigationBar::kHeight}};
    if (auto navigation = navigationController())
        barFrame = navigation->navigationBar()->frame();
    m_progressView = platform::View::make<platform::components::WebViewProgressView>(
        platform::Rect{{0, barFrame.size.height - kProgressLineHeight},
                       {barFrame.size.width, kProgressLineHeight}});
    m_progressView->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                                        platform::AutoresizingMask::FlexibleTopMargin);

    m_webView->setScalesPageToFit(true);
    // A page's file field offers the phone's photos, as the phone's own web view does.
    m_webView->setFilePicker(std::make_shared<platform::components::WebPhotoFilePicker>());
    m_webView->loadRequest(pageRequest());
    view()->addSubview(m_webView);
}

void WebDetailViewController::webViewProgress(platform::components::WebViewProgress& /*progress*/,
                                              float value) {
    if (m_progressView)
        m_progressView->setProgress(value, true);
}

void WebDetailViewController::webViewDidFinishLoad(platform::WebView& webView) {
    // Another page is shown: the one that asked for pictures is gone.
    if (m_pictures && webView.pageIdentity() != m_picturesAsker)
        cancelCommandPictures();
    hideLoadingOverlay();
    webView.scrollView()->setContentOffset({0, 0});
}

void WebDetailViewController::didFailLoadWithError(platform::WebView& /*webView*/,
                                                   const platform::WebError& error) {
    hideLoadingOverlay();
    platform::log(kFailLog, error.description);
    // A load stopped because the page asked for another (a link tapped before the page had
    // come) did not fail: the load that replaced it shows the page or its own failure.
    if (error.code == platform::WebError::kCancelled)
        return;
    addFailView();
}

bool WebDetailViewController::isFailViewShowing() const {
    return m_failView && !m_failView->isHidden() && m_failView->superview();
}

void WebDetailViewController::addFailView() {
    if (!m_webView)
        return;
    if (!m_failView)
        buildFailView();
    m_failView->setHidden(false);
}

void WebDetailViewController::buildFailView() {
    const platform::Size web = m_webView->bounds().size;
    const double screenWidth = platform::Screen::main().size().width;
    m_failView = platform::View::make<platform::View>(platform::Rect{{0, 0}, web});
    m_failView->setBackgroundColor(platform::Color::white());
    m_webView->addSubview(m_failView);

    auto image = platform::View::make<platform::ImageView>(platform::Rect{
        {(screenWidth - kFailImageSize.width) / 2, (web.height - kFailImageSize.height) / 2},
        kFailImageSize});
    image->setImage(platform::Image::named(kFailImage));
    m_failView->addSubview(image);

    auto reload = platform::View::make<platform::Button>(platform::Rect{
        {(screenWidth - kReloadButtonSize.width) / 2, web.height / 2 + kReloadButtonOffset},
        kReloadButtonSize});
    reload->setBackgroundImage(platform::Image::named(kReloadImage));
    reload->setHandle(kReloadHandle);
    auto self = std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    reload->addTarget(bindWeak(self, [](WebDetailViewController& page,
                                        platform::Control&) { page.hiddenFailView(); }),
                      platform::ControlEvent::TouchUpInside);
    m_failView->addSubview(reload);
}

void WebDetailViewController::hiddenFailView() {
    if (m_failView)
        m_failView->setHidden(true);
    // The address the page was opened with, not the one that failed.
    if (m_webView)
        m_webView->loadRequest(pageRequest());
}

// --- Pictures a command asks for -------------------------------------------------------

void WebDetailViewController::awaitCommandPictures(
    std::vector<std::string> urls, platform::Size shown, CommandPictures::Limits limits,
    std::function<void(std::vector<platform::Image>)> ready) {
    cancelCommandPictures();
    if (std::all_of(urls.begin(), urls.end(), [](const std::string& url) { return url.empty(); })) {
        ready(std::vector<platform::Image>(urls.size()));
        return;
    }
    m_picturesAsker = askingPage();
    showLoadingOverlay();
    std::weak_ptr<WebDetailViewController> weakSelf =
        std::static_pointer_cast<WebDetailViewController>(shared_from_this());
    m_pictures = CommandPictures::start(
        std::move(urls), shown, limits,
        [weakSelf, ready = std::move(ready)](std::vector<platform::Image> images) {
            auto page = weakSelf.lock();
            if (!page)
                return;
            const PageIdentity asker = page->m_picturesAsker;
            page->cancelCommandPictures();
            auto navigation = page->navigationController();
            const bool onTop = navigation ? navigation->topViewController() == page &&
                                                !navigation->presentedViewController()
                                          : !page->presentedViewController();
            if (!onTop) {
                platform::log("pictures dropped: %@ is no longer on top", page->m_urlStr);
                return;
            }
            if (page->mayAnswerPage(asker))
                ready(std::move(images));
        });
}

void WebDetailViewController::cancelCommandPictures() {
    if (!m_pictures)
        return;
    // Taken out before the cancel: the finished downloads' own `done` cancels them too, and
    // must find none waiting by then.
    auto pictures = std::move(m_pictures);
    m_picturesAsker = 0;
    pictures->cancel();
    hideLoadingOverlay();
}
