#include "SocialSDK/screens/SHSOauthViewController.h"

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <string_view>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/base/SHSocialProtocolData.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/screens/SHSOauthCallback.h"
#include "SocialSDK/screens/SHSOauthFollowBar.h"
#include "SocialSDK/screens/SHSPadBounds.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSParamDictionary.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialHttpClient.h"
#include "SocialSDK/service/SHSocialJob.h"
#include "SocialSDK/service/SHSocialJobFactory.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialUIHelper.h"
#include "platform/foundation/CheckedTime.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "platform/web/URLRequest.h"
#include "platform/web/WebError.h"

namespace {

bool containsNoCase(const std::string& text, std::string_view part) {
    auto lower = text;
    for (auto& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower.find(part) != std::string::npos;
}

void setNetworkIndicator(bool visible) {
    platform::Application::shared().setNetworkActivityIndicatorVisible(visible);
}

}  // namespace

SHSOauthViewController::SHSOauthViewController(std::shared_ptr<SHSocialControllerService> service)
    : socialControllerService(std::move(service)) {
    // The page is laid out from the top of its view: the view starts below the bar also in a
    // host's stack whose bar is translucent.
    setEdgesForExtendedLayout(platform::RectEdge::None);
}

std::string SHSOauthViewController::platformName() const {
    return socialControllerService && socialControllerService->currentSnsPlatformName
               ? *socialControllerService->currentSnsPlatformName
               : std::string();
}

std::shared_ptr<SHSOauthViewController> SHSOauthViewController::self() {
    return std::static_pointer_cast<SHSOauthViewController>(shared_from_this());
}

void SHSOauthViewController::viewDidLoad() {
    const auto& root = view();
    auto navigation = navigationController();
    // The first screen of its stack closes the whole road; a pushed page goes back.
    const bool first = !navigation || navigation->viewControllers().empty() ||
                       navigation->viewControllers().front().get() == this;
    if (first)
        showCloseButton();
    else
        showBackButton();
    auto& config = SHSocialConfigInternal::shareInstance();
    const auto bar = navigation ? navigation->navigationBar() : nullptr;
    {
        auto left = navigationItem().leftBarButtonItem();
        auto button =
            left ? std::dynamic_pointer_cast<platform::Button>(left->customView()) : nullptr;
        config.configureNavigationBar(bar, first ? button : nullptr, first ? nullptr : button,
                                      nullptr, nullptr, nullptr);
    }

    m_haveOauth = false;
    m_isAddFollow = true;
    setTitle(SHSocialLocalizedString("oauth_title", "授权"));
    m_followUsid.clear();
    const auto name = platformName();
    if (name == "sina" || name == "tencent") {
        const auto& follow = SHSocialConfigInternal::shareInstance().followSnsUids;
        if (auto it = follow.find(name); it != follow.end())
            m_followUsid = it->second;
    }
    const double followHeight = m_followUsid.empty() ? 0 : SHSOauthFollowBar::kHeight;

    // The page's view already lies below the navigation bar: the web view takes all of it but
    // the follow bar, and follows the view when the screen gives it its final size.
    const auto bounds = root->bounds();
    platform::Rect webFrame{{0, 0}, {bounds.size.width, bounds.size.height - followHeight}};
    // On a tablet the web view takes the bounds of the sheet the page is presented in.
    if (SHSPadBounds::onPad()) {
        if (auto sheet = SHSPadBounds::holder(*this))
            webFrame = sheet->bounds();
    }
    m_webView = platform::View::make<platform::WebView>(webFrame);
    m_webView->setHandle("oauth-web");
    m_webView->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                                   platform::AutoresizingMask::FlexibleHeight |
                                   platform::AutoresizingMask::FlexibleLeftMargin |
                                   platform::AutoresizingMask::FlexibleRightMargin);
    m_webView->setDelegate(self());
    root->addSubview(m_webView);
    if (!m_followUsid.empty())
        makeAddFollowView();

    SHSocialUIHelper::customNavigationItem(navigationItem());
    config.configureNavigationBar(bar, nullptr, nullptr, nullptr, nullptr, &navigationItem());

    // White please-wait cover over the web view until the first page is there.
    const auto maskFrame = navigation ? navigation->view()->frame() : bounds;
    m_maskView = platform::View::make<SHMaskView>(maskFrame);
    m_maskView->setBackgroundColor(platform::Color::white());
    m_maskView->setHandle("oauth-mask");
    root->addSubview(m_maskView);

    // Without an application key no request can be made: neither the uid nor the
    // sign-in address would ever come, so the page ends in its failure alert.
    if (SHSDataManagerSet::shareInstance().appkey().value_or("").empty() ||
        SHSUserManager::shareInstance().uid()) {
        loadSignInPage();
    } else {
        // The sign-in address names the user: obtain the uid first.
        std::weak_ptr<SHSOauthViewController> weakSelf = self();
        SHSocialDataService::defaultDataService()->requestSocialDataWithCompletionInternal(
            [weakSelf](std::shared_ptr<SHSocialResponseEntity>) {
                if (auto page = weakSelf.lock())
                    page->loadSignInPage();
            });
    }
    SHSOauthCallback::clearSignInCookies(platformName());
    // The page's alerts and keyboard belong to the application's main window.
    if (auto delegate = platform::Application::shared().delegate())
        if (auto window = delegate->window())
            window->makeKeyWindow();
}

void SHSOauthViewController::showCloseButton() {
    if (socialControllerService)
        socialControllerService->addCloseButton(*this);
}

void SHSOauthViewController::showBackButton() {
    auto button = platform::View::make<platform::Button>(platform::ButtonType::Custom);
    SHSocialUIHelper::customNavBackButton(*button, SHSocialLocalizedString("button_back", "返回"));
    button->setHandle("oauth-back");
    std::weak_ptr<SHSOauthViewController> weakSelf = self();
    button->addTarget(
        [weakSelf](platform::Control&) {
            if (auto page = weakSelf.lock())
                page->closeDirectly();
        },
        platform::ControlEvent::TouchUpInside);
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(button));
}

void SHSOauthViewController::makeAddFollowView() {
    const auto web = m_webView->frame();
    m_followView = platform::View::make<SHSOauthFollowBar>(web.size.width);
    m_followView->setFrame(platform::Rect{{0, web.origin.y + web.size.height},
                                          {web.size.width, SHSOauthFollowBar::kHeight}});
    std::weak_ptr<SHSOauthViewController> weakSelf = self();
    m_followView->checkButton()->addTarget(
        [weakSelf](platform::Control&) {
            if (auto page = weakSelf.lock())
                page->addFollow();
        },
        platform::ControlEvent::TouchUpInside);
    view()->addSubview(m_followView);
}

void SHSOauthViewController::addFollow() {
    m_isAddFollow = !m_isAddFollow;
    if (m_followView)
        m_followView->setChecked(m_isAddFollow);
}

std::optional<std::string> SHSOauthViewController::signInURL() const {
    SHSParamDictionary params;
    params.values["displayName"] = platformName();
    auto job = SHSocialJobFactory::sharedInstance().createSocialJob(SHSActionTypeAuthPage, params);
    if (!job || !job->pathString)
        return std::nullopt;
    return job->encryPathString(SHSocialHttpClient::sharedInstance().baseURL + *job->pathString);
}

void SHSOauthViewController::loadSignInPage() {
    auto url = signInURL();
    if (!url || !m_webView) {
        SHSocialUtils::outLog("oauth page has no sign-in address");
        if (m_maskView)
            m_maskView->setIsActivity(false);
        showAlert("oauth_error_title", "授权失败", "oauth_error_message",
                  "服务器繁忙，授权失败，请稍后再试", true);
        return;
    }
    platform::URLRequest request;
    request.url = *url;
    m_webView->loadRequest(request);
}

void SHSOauthViewController::viewDidAppear(bool animated) {
    platform::ViewController::viewDidAppear(animated);
    // Back on the page after signing in (from the next screen): the page has done its work.
    if (m_haveOauth)
        closeWithoutDelegate();
}

void SHSOauthViewController::viewWillDisappear(bool animated) {
    platform::ViewController::viewWillDisappear(animated);
    if (auto navigation = navigationController())
        SHSocialUIHelper::setNavigationBarTranslucent(navigation->navigationBar());
}

void SHSOauthViewController::viewDidDisappear(bool animated) {
    platform::ViewController::viewDidDisappear(animated);
    setNetworkIndicator(false);
}

// --- The web view ----------------------------------------------------------------------------

bool SHSOauthViewController::shouldStartLoadWithRequest(platform::WebView&,
                                                        const platform::URLRequest& request,
                                                        platform::WebViewNavigationType type) {
    return shouldStartLoad(request.url, type);
}

bool SHSOauthViewController::shouldStartLoad(const std::string& url,
                                             platform::WebViewNavigationType type) {
    auto platform = SHSocialSnsPlatformManager::getSocialPlatformWithName(platformName());
    if (m_maskView)
        m_maskView->setIsActivity(true);
    const auto parts = SHSOauthCallback::splitAddress(url);
    if (platform && platform->oauthCallBackPath && parts.path == *platform->oauthCallBackPath) {
        const auto info = SHSOauthCallback::callbackInfo(parts.query);
        if (!info) {
            SHSocialUtils::outLog("oauth callback could not be decrypted");
            return true;
        }
        setNetworkIndicator(false);
        // Only a callback that names the user is an account; any other is let through, and
        // the page stays open on what the service shows for it.
        const auto uid = info->find("uid");
        if (uid == info->end() || uid->second.empty())
            return true;
        saveOauthInfoObjects(*info);
        handleOauth();
        return false;
    }
    if (type == platform::WebViewNavigationType::LinkClicked ||
        SHSOauthCallback::isMobileSignInHost(parts.host))
        setInActivity();
    return true;
}

void SHSOauthViewController::webViewDidStartLoad(platform::WebView&) {
    setNetworkIndicator(true);
}

void SHSOauthViewController::webViewDidFinishLoad(platform::WebView& webView) {
    SHSocialUtils::outLog("oauth webViewDidFinishLoad urlString is %@", webView.pageURL());
    setInActivity();
    setContentOffset();
    setNetworkIndicator(false);
}

void SHSOauthViewController::setInActivity() {
    if (m_maskView && m_maskView->isActivity())
        m_maskView->setIsActivity(false);
}

void SHSOauthViewController::didFailLoadWithError(platform::WebView&,
                                                  const platform::WebError& error) {
    SHSocialUtils::outLog("webView didFailLoadWithError error is %@", error.description);
    setInActivity();
    if (containsNoCase(error.failingURL, "mutelogout"))
        return;
    // A failing address that carries "sms:" anywhere, in any case, is a message for the
    // system to send.
    if (SHSOauthCallback::carriesSms(error.failingURL)) {
        dismissViewController(true);
        platform::RunLoop::main().postDelayed(platform::seconds(2.5),
                                              [url = error.failingURL] { sendSMS(url); });
        return;
    }
    if (error.code == 102 || error.code == platform::WebError::kCancelled) {
        // An interrupted frame of this platform's pages goes on loading.
        if (error.code == 102 && platformName() == "tencent" && m_maskView)
            m_maskView->setIsActivity(true);
        return;
    }
    SHSocialUtils::outLog("didFailLoadWithError !!! error is %@", error.description);
    showAlert("network_fail_title", "温馨提示", "network_fail_message", "网络不给力", true);
}

void SHSOauthViewController::sendSMS(const std::string& url) {
    platform::Application::shared().openURL(url);
}

void SHSOauthViewController::showAlert(const std::string& titleKey, const std::string& title,
                                       const std::string& messageKey, const std::string& message,
                                       bool closesPage) {
    std::weak_ptr<platform::AlertViewDelegate> delegate;
    if (closesPage)
        delegate = self();
    auto alert = platform::View::make<platform::AlertView>(
        SHSocialLocalizedString(titleKey, title), SHSocialLocalizedString(messageKey, message),
        delegate, SHSocialLocalizedString("button_ok", "好"), std::vector<std::string>{});
    alert->show();
}

void SHSOauthViewController::clickedButtonAtIndex(platform::AlertView&, int) {
    closeWithoutDelegate();
}

// --- The callback ----------------------------------------------------------------------------

void SHSOauthViewController::saveOauthInfoObjects(const std::map<std::string, std::string>& info) {
    auto name = platformName();
    auto& users = SHSUserManager::shareInstance();
    auto accounts = users.snsAccountDictionary();
    auto& account = accounts[name];
    if (!account)
        account = std::make_shared<SHSocialAccountEntity>(name);
    if (auto it = info.find("access_key"); it != info.end())
        account->accessToken = it->second;
    account->usid = info.at("uid");
    account->expirationDate.reset();
    if (auto it = info.find("expires_in"); it != info.end()) {
        char* end = nullptr;
        long long seconds = std::strtoll(it->second.c_str(), &end, 10);
        // A lifetime beyond the clock's reach gives no expiry, as an absent one does.
        if (end != it->second.c_str() && *end == '\0') {
            if (auto when = platform::dateAfterSeconds(SHSocialProtocolData::now(),
                                                       static_cast<double>(seconds)))
                account->expirationDate = std::chrono::floor<std::chrono::seconds>(*when);
        }
    }
    SHSocialUtils::outLog("new snsAccount expiration is %@",
                          account->expirationDate
                              ? std::to_string(std::chrono::duration_cast<std::chrono::seconds>(
                                                   account->expirationDate->time_since_epoch())
                                                   .count())
                              : std::string("(null)"));
    // Stored at once, so a sign-in survives the app ending before the next request.
    users.setSnsAccountDictionary(std::move(accounts));
    // The friends and mentions held in memory may be another account's: they are dropped, and
    // the next read takes the cache of the account now signed in. The cache itself keeps
    // every account's lists, so signing in again to the same account loses nothing.
    users.forgetFriends(name);
}

void SHSOauthViewController::handleOauth() {
    m_haveOauth = true;
    auto response = std::make_shared<SHSocialResponseEntity>();
    response->responseType = 9;
    response->responseCode = 200;
    response->message = "no error";
    response->data = platform::Json::object();
    if (!m_followUsid.empty() && m_isAddFollow) {
        const auto name = platformName();
        SHSocialDataService::defaultDataService()->requestAddFollowInternal(
            name, m_followUsid, [name](std::shared_ptr<SHSocialResponseEntity>) {
                // Offered once: whatever the service answered, the user has decided.
                auto& defaults = platform::UserDefaults::standard();
                defaults.setBool(true, "SHSocial_Follow_" + name);
                defaults.synchronize();
            });
    }
    handleFinishOauth(response);
}

void SHSOauthViewController::handleFinishOauth(
    const std::shared_ptr<SHSocialResponseEntity>& response) {
    SHSocialUtils::outLog("finishOauthInSDKWithResponse response is %@",
                          response ? response->description() : std::string("(null)"));
    std::weak_ptr<SHSOauthViewController> weakSelf = self();
    SHSocialDataService::defaultDataService()->requestSocialAccountWithCompletionInternal(
        [weakSelf](std::shared_ptr<SHSocialResponseEntity> accounts) {
            // The page may be gone: then nothing of it is touched.
            if (auto page = weakSelf.lock(); page && accounts)
                page->accountsArrived(accounts);
        });
}

void SHSOauthViewController::accountsArrived(
    const std::shared_ptr<SHSocialResponseEntity>& response) {
    if (response->responseCode != 200) {
        if (response->responseCode != 5052)
            showAlert("oauth_error_title", "授权失败", "oauth_error_message",
                      "服务器繁忙，授权失败，请稍后再试", true);
        return;
    }
    auto name = platformName();
    const auto* accounts =
        response->data && response->data->is_object() && response->data->contains("accounts")
            ? &(*response->data)["accounts"]
            : nullptr;
    if (accounts && accounts->is_object() && accounts->contains(name)) {
        platform::Json one = platform::Json::object();
        one[name] = (*accounts)[name];
        response->data = one;
    } else {
        response->responseCode = 5051;
        response->message = "get user profile data failed!";
        showAlert("oauth_error_title", "授权失败", "oauth_error_not_approved",
                  "由于没有在开放平台添加此账号作为测试账号或者没有通过审核等原因授权失败", false);
    }
    auto service = socialControllerService;
    if (!service || service->nextViewController == -1) {
        response->viewControllerType = 7;
        closeWithResponse(response);
        return;
    }
    std::weak_ptr<SHSOauthViewController> weakSelf = self();
    platform::RunLoop::main().postDelayed(platform::seconds(double(0.7f)), [weakSelf, response] {
        if (auto page = weakSelf.lock())
            page->showNextViewController(response);
    });
}

void SHSOauthViewController::showNextViewController(
    const std::shared_ptr<SHSocialResponseEntity>& response) {
    auto service = socialControllerService;
    if (!service)
        return;
    SHSocialUtils::outLog("nextViewType is %d", service->nextViewController);
    auto navigation = navigationController();
    std::shared_ptr<platform::ViewController> next;
    if (service->nextViewController != -1 && response && response->responseCode == 200 &&
        navigation) {
        // The factory makes the next screen, as it makes every screen of the road: it records
        // the type, and the edit screen becomes the open one.
        next = service->getSocialViewController(service->nextViewController, platformName());
        // A screen that comes in a navigation controller of its own (the share list) goes onto
        // this one bare: a navigation controller cannot be pushed.
        if (auto own = std::dynamic_pointer_cast<platform::NavigationController>(next)) {
            next = own->viewControllers().empty() ? nullptr : own->viewControllers().front();
            own->setViewControllers({}, false);
        }
    }
    // A type the factory has no screen for leaves nothing to go on to: the road closes, as it
    // does after a failed sign-in.
    if (!next) {
        service->close();
        return;
    }
    navigation->pushViewController(next, true);
    service->currentNavigationController = navigation;
}

// --- Closing ---------------------------------------------------------------------------------

void SHSOauthViewController::closeWithCancel() {
    if (socialControllerService)
        socialControllerService->closeWithCancelResponse();
}

void SHSOauthViewController::closeWithoutDelegate() {
    if (socialControllerService)
        socialControllerService->close();
}

void SHSOauthViewController::closeWithResponse(
    const std::shared_ptr<SHSocialResponseEntity>& response) {
    auto service = socialControllerService;
    if (service) {
        if (auto delegate = service->socialUIDelegate()) {
            if (delegate->closeOauthWebViewController(navigationController(), service) == true)
                return;
        }
    }
    closeDirectly(response);
}

void SHSOauthViewController::closeDirectly(
    const std::shared_ptr<SHSocialResponseEntity>& response) {
    auto navigation = navigationController();
    auto service = socialControllerService;
    if (!navigation || navigation->viewControllers().size() < 2) {
        if (service)
            service->closeWithResponse(response);
        return;
    }
    auto keep = self();  // the page outlives its own pop
    navigation->popViewController(true);
    if (service)
        if (auto delegate = service->socialUIDelegate())
            delegate->didFinishGetSHSocialDataInViewController(response);
}

void SHSOauthViewController::closeDirectly() {
    auto navigation = navigationController();
    if (!navigation || navigation->viewControllers().size() < 2) {
        closeWithCancel();
        return;
    }
    auto keep = self();
    navigation->popViewController(true);
    auto service = socialControllerService;
    if (!service)
        return;
    if (auto delegate = service->socialUIDelegate()) {
        auto response = std::make_shared<SHSocialResponseEntity>();
        platform::Json data = platform::Json::object();
        data[platformName()] = "";
        response->data = std::move(data);
        response->responseCode = 5052;
        response->message = "user cancel the operation";
        response->viewControllerType = SHSViewControllerOauth;
        delegate->didFinishGetSHSocialDataInViewController(response);
    }
}

std::shared_ptr<platform::ImageView> SHSOauthViewController::followView() const {
    return m_followView;
}
