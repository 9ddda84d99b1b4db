#include "campus/QuestionnaireViewController.h"

#include "campus/PushedScreenBar.h"
#include "client/ServiceConfig.h"
#include "client/SignInState.h"
#include "client/URLTemplate.h"
#include "components/hud/ProgressHUD.h"
#include "components/photopicker/WebPhotoFilePicker.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WebView.h"
#include "platform/web/URLRequest.h"
#include "widgets/ProgressHUDConveniences.h"
#include "widgets/SideMenuSwipe.h"

namespace {

constexpr const char* kQuestionnairePath =
    "function/interaction/questionnaire_add.jsp?confferenceId=&userAccount=%@";

std::string storedAccount() {
    return platform::UserDefaults::standard().stringForKey(SignInKey::UserId).value_or("");
}

}  // namespace

QuestionnaireViewController::QuestionnaireViewController() = default;

QuestionnaireViewController::~QuestionnaireViewController() {
    // The web views may outlive the page in a pending task; nothing of theirs must reach it.
    if (m_myWebView)
        m_myWebView->setDelegate({});
    if (m_retiredWebView)
        m_retiredWebView->setDelegate({});
}

std::string QuestionnaireViewController::questionnaireURL(const std::string& account) {
    return formatServiceURL(ServiceConfig::shared().questionnaireRoot + kQuestionnairePath,
                            {account})
        .url;
}

void QuestionnaireViewController::loadView() {
    auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    setView(root);
}

void QuestionnaireViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    createTabBar();
    showFreshQuestionnaire();

    m_HUD = platform::View::make<platform::components::ProgressHUD>(*view());
    view()->addSubview(m_HUD);
    m_HUD->setLabelText(kLoadingText);
    m_HUD->showWhileExecutingDelay(kLoadingSeconds, {});
}

void QuestionnaireViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    keepEdgeSwipeBack(*this);
}

void QuestionnaireViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}

std::shared_ptr<platform::components::ProgressHUD> QuestionnaireViewController::HUD() const {
    return m_HUD && m_HUD->isShowing() && m_HUD->superview() ? m_HUD : nullptr;
}

void QuestionnaireViewController::createTabBar() {
    std::weak_ptr<platform::ViewController> weakSelf = weak_from_this();
    setUpPushedScreenBar(*this, kTitle, [weakSelf] {
        if (auto self = std::static_pointer_cast<QuestionnaireViewController>(weakSelf.lock()))
            self->backBtnWithAction();
    });
}

void QuestionnaireViewController::showFreshQuestionnaire() {
    if (m_retiredWebView)
        m_retiredWebView->setDelegate({});
    m_retiredWebView = std::move(m_myWebView);
    if (m_retiredWebView) {
        // Whatever the old view still reports (its refused or cancelled load) is not ours.
        m_retiredWebView->setDelegate({});
        m_retiredWebView->removeFromSuperview();
    }

    m_myWebView = platform::View::make<platform::WebView>(view()->bounds());
    m_myWebView->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                                     platform::AutoresizingMask::FlexibleHeight);
    // A page's file field offers the phone's photos, as the phone's own web view does.
    m_myWebView->setFilePicker(std::make_shared<platform::components::WebPhotoFilePicker>());
    const std::string url = questionnaireURL(storedAccount());
    platform::log("问卷调查：%@", url);
    platform::URLRequest request;
    request.url = url;
    m_myWebView->setDelegate(
        std::static_pointer_cast<QuestionnaireViewController>(shared_from_this()));
    m_myWebView->loadRequest(request);
    // Under the loading overlay, if it still shows.
    if (auto overlay = HUD())
        view()->insertSubviewBelow(m_myWebView, overlay.get());
    else
        view()->addSubview(m_myWebView);
}

bool QuestionnaireViewController::shouldStartLoadWithRequest(
    platform::WebView& webView, const platform::URLRequest& request,
    platform::WebViewNavigationType /*type*/) {
    const std::string& sentinel = ServiceConfig::shared().questionnaireSentinelURL;
    if (sentinel.empty() || request.url.find(sentinel) == std::string::npos)
        return true;
    if (&webView == m_myWebView.get())
        showFreshQuestionnaire();
    return false;
}

void QuestionnaireViewController::webViewDidFinishLoad(platform::WebView& /*webView*/) {
    removeHUD();
}

void QuestionnaireViewController::didFailLoadWithError(platform::WebView& webView,
                                                       const platform::WebError& error) {
    // A load the page itself stopped or replaced is no network fault.
    if (error.code == platform::WebError::kCancelled || &webView != m_myWebView.get())
        return;
    ProgressHUDConveniences::showError(kNetworkError);
    if (auto overlay = HUD())
        overlay->hide(true);
}

void QuestionnaireViewController::backBtnWithAction() {
    if (m_myWebView && m_myWebView->canGoBack()) {
        m_myWebView->goBack();
        return;
    }
    removeHUD();
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

void QuestionnaireViewController::removeHUD() {
    if (m_HUD)
        m_HUD->removeFromSuperview();
}
