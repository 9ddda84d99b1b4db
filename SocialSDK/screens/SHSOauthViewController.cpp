#include "SocialSDK/screens/SHSOauthViewController.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/base/SHSocialProtocolData.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSParamDictionary.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialCryptor.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialHttpClient.h"
#include "SocialSDK/service/SHSocialJob.h"
#include "SocialSDK/service/SHSocialJobFactory.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialUIHelper.h"
#include "platform/foundation/CookieStorage.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/URLRequest.h"
#include "platform/ui/WebError.h"
#include "platform/ui/WebView.h"

namespace {

const std::string kButtons = "SHSocialSDKResourcesNew.bundle/Buttons/";

// The platforms' own sign-in sites. The stand-in platforms of this system live on invented
// hosts; only their shape matters to the page.
// The cookie domains of the one platform whose sign-in site would otherwise sign the last user
// in again without asking: its base domain with a leading dot, its graph host, and that host
// with a leading dot.
constexpr std::array<std::string_view, 3> kRenrenCookieDomains = {
    ".rr-platform.example", "graph.rr-platform.example", ".graph.rr-platform.example"};
// The mobile sign-in host whose pages stop the spinner as soon as they are asked for.
constexpr std::string_view kMobileSignInHost = "mlogin.tw-platform.example";

std::string lowered(std::string text) {
    for (auto& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The host, path and query of an address (scheme://host/path?query#fragment).
struct AddressParts {
    std::string host;
    std::string path;
    std::string query;
};

AddressParts splitAddress(const std::string& url) {
    AddressParts parts;
    auto schemeEnd = url.find("://");
    auto hostStart = schemeEnd == std::string::npos ? 0 : schemeEnd + 3;
    auto pathStart = url.find('/', hostStart);
    auto queryStart = url.find('?', hostStart);
    auto fragment = url.find('#', hostStart);
    if (pathStart != std::string::npos && queryStart != std::string::npos && pathStart > queryStart)
        pathStart = std::string::npos;
    auto hostEnd = std::min({pathStart, queryStart, fragment, url.size()});
    if (schemeEnd != std::string::npos) {
        parts.host = url.substr(hostStart, hostEnd - hostStart);
        if (auto at = parts.host.rfind('@'); at != std::string::npos)
            parts.host.erase(0, at + 1);
        if (auto colon = parts.host.rfind(':'); colon != std::string::npos)
            parts.host.erase(colon);
        parts.host = lowered(parts.host);
    }
    auto pathEnd = std::min(queryStart, fragment);
    parts.path = pathStart == std::string::npos ? std::string("/")
                                                : url.substr(pathStart, pathEnd - pathStart);
    if (queryStart != std::string::npos && queryStart < fragment)
        parts.query = url.substr(
            queryStart + 1, fragment == std::string::npos ? fragment : fragment - queryStart - 1);
    return parts;
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
    if (!navigation || navigation->viewControllers().empty() ||
        navigation->viewControllers().front().get() == this)
        showCloseButton();
    else
        showBackButton();

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
    const double followHeight = m_followUsid.empty() ? 0 : kFollowBarHeight;

    // The page's view already lies below the navigation bar: the web view takes all of it but
    // the follow bar, and follows the view when the screen gives it its final size.
    const auto bounds = root->bounds();
    m_webView = platform::View::make<platform::WebView>(
        platform::Rect{{0, 0}, {bounds.size.width, bounds.size.height - followHeight}});
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

    // White please-wait cover over the web view until the first page is there.
    const auto maskFrame = navigation ? navigation->view()->frame() : bounds;
    m_maskView = platform::View::make<SHMaskView>(maskFrame);
    m_maskView->setBackgroundColor(platform::Color::white());
    m_maskView->setHandle("oauth-mask");
    root->addSubview(m_maskView);

    if (SHSUserManager::shareInstance().uid()) {
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
    clearSignInCookies();
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
    m_followView = platform::View::make<platform::ImageView>(
        platform::Rect{{0, web.origin.y + web.size.height}, {web.size.width, kFollowBarHeight}});
    m_followView->setImage(platform::Image::named(kButtons + "SHS_comment_bar_background"));
    m_followView->setUserInteractionEnabled(true);
    m_followView->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                                      platform::AutoresizingMask::FlexibleTopMargin);
    m_addFollowCheckButton = platform::View::make<platform::Button>(
        platform::Rect{{0, 0}, {40, 38}}, platform::ButtonType::Custom);
    m_addFollowCheckButton->setCenter(platform::Point{40, kFollowBarHeight / 2 + 5});
    m_addFollowCheckButton->setImage(platform::Image::named(kButtons + "SHS_add_friend_on"));
    m_addFollowCheckButton->setHandle("oauth-follow");
    std::weak_ptr<SHSOauthViewController> weakSelf = self();
    m_addFollowCheckButton->addTarget(
        [weakSelf](platform::Control&) {
            if (auto page = weakSelf.lock())
                page->addFollow();
        },
        platform::ControlEvent::TouchUpInside);
    m_followView->addSubview(m_addFollowCheckButton);
    const auto check = m_addFollowCheckButton->frame();
    auto label = platform::View::make<platform::Label>(
        platform::Rect{{check.origin.x + check.size.width, check.origin.y}, {200, 38}});
    label->setText(SHSocialLocalizedString("oauth_follow", "关注官方微博"));
    label->setTextColor(platform::Color::lightGray());
    label->setBackgroundColor(platform::Color::clear());
    m_followView->addSubview(label);
    view()->addSubview(m_followView);
}

void SHSOauthViewController::addFollow() {
    m_isAddFollow = !m_isAddFollow;
    if (m_addFollowCheckButton)
        m_addFollowCheckButton->setImage(platform::Image::named(
            kButtons + (m_isAddFollow ? "SHS_add_friend_on" : "SHS_add_friend_off")));
}

std::vector<std::string> SHSOauthViewController::signInCookieDomains(
    const std::string& platformName) {
    if (platformName != "renren")
        return {};
    return {kRenrenCookieDomains.begin(), kRenrenCookieDomains.end()};
}

void SHSOauthViewController::clearSignInCookies() {
    const auto domains = signInCookieDomains(platformName());
    if (domains.empty())
        return;
    auto& storage = platform::CookieStorage::shared();
    const auto cookies = storage.cookies();
    std::string listed;
    for (const auto& cookie : cookies)
        listed += (listed.empty() ? "" : ", ") + cookie.domain + " " + cookie.name;
    SHSocialUtils::outLog("cookies is %@", "(" + listed + ")");
    for (const auto& cookie : cookies) {
        if (std::find(domains.begin(), domains.end(), cookie.domain) != domains.end())
            storage.deleteCookie(cookie);
    }
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
    auto parts = splitAddress(url);
    if (platform && platform->oauthCallBackPath && parts.path == *platform->oauthCallBackPath) {
        std::string query = parts.query;
        static constexpr std::string_view kEnvelope = "ud_get=";
        if (auto at = query.find(kEnvelope); at != std::string::npos) {
            auto plain = SHSocialCryptor::AES128Decrypt(query.substr(at + kEnvelope.size()));
            if (!plain) {
                SHSocialUtils::outLog("oauth callback could not be decrypted");
                return true;
            }
            query = *plain;
        }
        auto info = parseUrl(query);
        setNetworkIndicator(false);
        // Only a callback that names the user is an account; any other is let through, and
        // the page stays open on what the service shows for it.
        auto uid = info.find("uid");
        if (uid == info.end() || uid->second.empty())
            return true;
        saveOauthInfoObjects(info);
        handleOauth();
        return false;
    }
    if (type == platform::WebViewNavigationType::LinkClicked || parts.host == kMobileSignInHost)
        setInActivity();
    return true;
}

void SHSOauthViewController::webViewDidStartLoad(platform::WebView&) {
    setNetworkIndicator(true);
}

void SHSOauthViewController::webViewDidFinishLoad(platform::WebView& webView) {
    SHSocialUtils::outLog("oauth webViewDidFinishLoad urlString is %@", webView.pageURL());
    setInActivity();
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
    const std::string lower = lowered(error.failingURL);
    if (lower.find("mutelogout") != std::string::npos)
        return;
    // Only an address that is itself an "sms:" one goes to the system, never one that merely
    // carries "sms:" somewhere in it (that one is a failure like any other).
    if (isSmsAddress(error.failingURL)) {
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

bool SHSOauthViewController::isSmsAddress(const std::string& url) {
    return url.size() >= 4 && lowered(url.substr(0, 4)) == "sms:";
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

std::map<std::string, std::string> SHSOauthViewController::parseUrl(const std::string& query) {
    std::map<std::string, std::string> pairs;
    std::size_t start = 0;
    while (start <= query.size()) {
        auto amp = query.find('&', start);
        auto piece = query.substr(start, amp == std::string::npos ? amp : amp - start);
        if (!piece.empty()) {
            auto eq = piece.find('=');
            if (eq == std::string::npos)
                pairs[piece] = "";
            else
                pairs[piece.substr(0, eq)] = piece.substr(eq + 1);
        }
        if (amp == std::string::npos)
            break;
        start = amp + 1;
    }
    return pairs;
}

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
        if (end != it->second.c_str() && *end == '\0') {
            auto when = SHSocialProtocolData::now() + std::chrono::seconds(seconds);
            account->expirationDate = std::chrono::floor<std::chrono::seconds>(when);
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
    if (users.friendsDictionaryWithSnsName(name)) {
        users.setFriendsDictionary({}, name);
        users.setAtFriendsArray({}, name);
    }
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
        // The next screen goes onto the sign-in page's own stack, bare: it is the open screen
        // of the road the service already counts.
        const auto& makers = SHSocialControllerService::screens();
        if (service->nextViewController == SHSViewControllerShareEdit && makers.shareEdit) {
            service->setCurrentViewControllerType(SHSViewControllerShareEdit);
            next = makers.shareEdit(*service, platformName(), std::nullopt);
        }
    }
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
