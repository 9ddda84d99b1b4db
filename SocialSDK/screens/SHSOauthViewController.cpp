#include "SocialSDK/screens/SHSOauthViewController.h"

#include <cctype>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/base/SHSocialProtocolData.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSParamDictionary.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialCryptor.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialHttpClient.h"
#include "SocialSDK/service/SHSocialJob.h"
#include "SocialSDK/service/SHSocialJobFactory.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/URLRequest.h"
#include "platform/ui/WebError.h"
#include "platform/ui/WebView.h"

namespace {

// The path and query of an address (scheme://host/path?query#fragment).
void splitAddress(const std::string& url, std::string& path, std::string& query) {
    auto schemeEnd = url.find("://");
    auto hostStart = schemeEnd == std::string::npos ? 0 : schemeEnd + 3;
    auto pathStart = url.find('/', hostStart);
    auto queryStart = url.find('?', hostStart);
    auto fragment = url.find('#', hostStart);
    if (pathStart != std::string::npos && queryStart != std::string::npos && pathStart > queryStart)
        pathStart = std::string::npos;
    auto pathEnd = std::min(queryStart, fragment);
    path = pathStart == std::string::npos ? std::string("/")
                                          : url.substr(pathStart, pathEnd - pathStart);
    query.clear();
    if (queryStart != std::string::npos && queryStart < fragment)
        query = url.substr(queryStart + 1,
                           fragment == std::string::npos ? fragment : fragment - queryStart - 1);
}

}  // namespace

SHSOauthViewController::SHSOauthViewController(std::shared_ptr<SHSocialControllerService> service)
    : socialControllerService(std::move(service)) {
    setTitle("授权");
}

std::string SHSOauthViewController::platformName() const {
    return socialControllerService && socialControllerService->currentSnsPlatformName
               ? *socialControllerService->currentSnsPlatformName
               : std::string();
}

void SHSOauthViewController::viewDidLoad() {
    const auto& root = view();
    m_webView = std::make_shared<platform::WebView>();
    // Below the 64-point navigation bar, following the screen's size.
    auto bounds = root->bounds();
    m_webView->setFrame({0, 64, bounds.size.width, bounds.size.height - 64});
    m_webView->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                                   platform::AutoresizingMask::FlexibleHeight);
    m_webView->setDelegate(std::static_pointer_cast<SHSOauthViewController>(shared_from_this()));
    root->addSubview(m_webView);
    if (SHSUserManager::shareInstance().uid()) {
        loadSignInPage();
        return;
    }
    // The sign-in address names the user: obtain the uid first.
    std::weak_ptr<SHSOauthViewController> weakSelf =
        std::static_pointer_cast<SHSOauthViewController>(shared_from_this());
    SHSocialDataService::defaultDataService()->requestSocialDataWithCompletionInternal(
        [weakSelf](std::shared_ptr<SHSocialResponseEntity>) {
            if (auto self = weakSelf.lock())
                self->loadSignInPage();
        });
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

bool SHSOauthViewController::shouldStartLoadWithRequest(platform::WebView&,
                                                        const platform::URLRequest& request,
                                                        platform::WebViewNavigationType) {
    return shouldStartLoad(request.url);
}

void SHSOauthViewController::didFailLoadWithError(platform::WebView&,
                                                  const platform::WebError& error) {
    SHSocialUtils::outLog("webView didFailLoadWithError error is %@", error.description);
    std::string lower = error.failingURL;
    for (auto& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (lower.find("mutelogout") != std::string::npos)
        return;
    // Only an address that is itself an "sms:" one goes to the system, never one that merely
    // carries "sms:" somewhere in it; the headless system has no messages app, so it is logged.
    if (isSmsAddress(error.failingURL)) {
        SHSocialUtils::outLog("sms address left to the system: %@", error.failingURL);
        return;
    }
    if (error.code == 102 || error.code == platform::WebError::kCancelled)
        return;
    auto alert = std::make_shared<platform::AlertView>("温馨提示", "网络不给力",
                                                       std::weak_ptr<platform::AlertViewDelegate>(),
                                                       "好", std::vector<std::string>{});
    alert->show();
}

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

bool SHSOauthViewController::shouldStartLoad(const std::string& url) {
    auto name = platformName();
    auto platform = SHSocialSnsPlatformManager::getSocialPlatformWithName(name);
    if (!platform || !platform->oauthCallBackPath)
        return true;
    std::string path, query;
    splitAddress(url, path, query);
    if (path != *platform->oauthCallBackPath)
        return true;
    static constexpr std::string_view kEnvelope = "ud_get=";
    auto at = query.find(kEnvelope);
    if (at != std::string::npos) {
        auto plain = SHSocialCryptor::AES128Decrypt(query.substr(at + kEnvelope.size()));
        if (!plain) {
            SHSocialUtils::outLog("oauth callback could not be decrypted");
            return true;
        }
        query = *plain;
    }
    auto info = parseUrl(query);
    // Only a callback that names the user is an account; any other is let through.
    if (info.find("uid") == info.end() || info["uid"].empty())
        return true;
    saveOauthInfoObjects(info);
    handleOauth();
    return false;
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
                          account->expirationDate ? "set" : "(null)");
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
    handleFinishOauth(response);
}

void SHSOauthViewController::handleFinishOauth(
    const std::shared_ptr<SHSocialResponseEntity>& /*response*/) {
    std::weak_ptr<SHSOauthViewController> weakSelf =
        std::static_pointer_cast<SHSOauthViewController>(shared_from_this());
    SHSocialDataService::defaultDataService()->requestSocialAccountWithCompletionInternal(
        [weakSelf](std::shared_ptr<SHSocialResponseEntity> response) {
            // The page may be gone: then nothing of it is touched.
            if (response)
                SHSocialUtils::outLog("oauth accounts response is %@", response->description());
            if (auto self = weakSelf.lock(); self && response)
                self->accountsArrived(response);
        });
}

void SHSOauthViewController::accountsArrived(
    const std::shared_ptr<SHSocialResponseEntity>& response) {
    if (response->responseCode != 200)
        return;
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
    }
    auto service = socialControllerService;
    if (!service || service->nextViewController == -1) {
        response->viewControllerType = 7;
        if (service)
            if (auto delegate = service->socialUIDelegate())
                delegate->didFinishGetSHSocialDataInViewController(response);
        return;
    }
    std::weak_ptr<SHSOauthViewController> weakSelf =
        std::static_pointer_cast<SHSOauthViewController>(shared_from_this());
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
    if (service->nextViewController == -1 || !response || response->responseCode != 200)
        return;
    auto next = service->getSocialShareEditControllerInternal(platformName(), std::nullopt);
    // The service hands its screens over in a navigation controller of their own; here the
    // edit screen goes onto the sign-in page's stack instead.
    if (auto wrapper = std::dynamic_pointer_cast<platform::NavigationController>(next)) {
        next = wrapper->topViewController();
        wrapper->setViewControllers({}, false);
    }
    auto navigation = navigationController();
    if (next && navigation) {
        navigation->pushViewController(next, true);
        service->currentNavigationController = navigation;
    }
}

bool SHSOauthViewController::isSmsAddress(const std::string& url) {
    if (url.size() < 4)
        return false;
    std::string scheme = url.substr(0, 4);
    for (auto& c : scheme) c = char(std::tolower(static_cast<unsigned char>(c)));
    return scheme == "sms:";
}
