#include "SocialSDK/service/SHSocialSnsPlatform.h"

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialHandlerClasses.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialSnsHandler.h"
#include "SocialSDK/service/SHSocialSnsPlatformManagerInternal.h"
#include "SocialSDK/service/SHSocialToast.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/NavigationController.h"

namespace {

constexpr const char* kIconPrefix = "SHSocialSDKResourcesNew.bundle/SnsPlatform/SHS_";

struct Described {
    const char* name;
    int type;
    const char* displayDefault;
    const char* loginDefault;
    const char* callbackPath;
};

constexpr Described kDescribed[] = {{"qzone", 10, "QQ空间", "QQ账号", "/qzone/main"},
                                    {"tencent", 11, "腾讯微博", "腾讯微博", "/tenc2/main"},
                                    {"renren", 12, "人人网", "人人网", "/renr2/main"},
                                    {"douban", 13, "豆瓣", "豆瓣", "/douban/main"}};

std::shared_ptr<SHSocialSnsPlatform> makeDescribed(const Described& entry) {
    auto platform = std::make_shared<SHSocialSnsPlatform>();
    platform->platformName = entry.name;
    platform->oauthBaseURLString = "share/auth";
    platform->oauthCallBackPath = entry.callbackPath;
    platform->bigImageName = std::string(kIconPrefix) + entry.name + "_icon";
    platform->smallImageName = std::string(kIconPrefix) + entry.name + "_on";
    platform->smallImageOffName = std::string(kIconPrefix) + entry.name + "_off";
    platform->displayName = SHSocialLocalizedString(entry.name, entry.displayDefault);
    platform->loginName = SHSocialLocalizedString(entry.name, entry.loginDefault);
    platform->shareToType = entry.type;
    platform->needLogin = entry.type != 10;
    platform->haveWebViewAuth = true;
    return platform;
}

void installLoginHandler(const std::shared_ptr<SHSocialSnsPlatform>& platform) {
    std::weak_ptr<SHSocialSnsPlatform> weak = platform;
    platform->loginClickHandler = [weak](const auto& controller, const auto& service,
                                         bool isPresent, SHSocialResponseCompletion completion) {
        auto descriptor = weak.lock();
        if (!descriptor)
            return;
        SHSocialConfigInternal::shareInstance().qqType = 0;
        auto internal = descriptor->platformInternal();
        internal->shareStatus = "0";
        internal->snsLoginHandlerrWithController(controller, service, isPresent,
                                                 std::move(completion), std::nullopt);
    };
}

void installClickHandler(const std::shared_ptr<SHSocialSnsPlatform>& platform) {
    std::weak_ptr<SHSocialSnsPlatform> weak = platform;
    platform->snsClickHandler = [weak](const auto& controller, const auto& service,
                                       bool isPresent) {
        auto descriptor = weak.lock();
        if (!descriptor)
            return;
        SHSocialConfigInternal::shareInstance().qqType = 1;
        auto internal = descriptor->platformInternal();
        internal->shareStatus = "1";
        internal->snsClickHandlerWithController(controller, service, isPresent, std::nullopt);
    };
}

}  // namespace

// --- Descriptor ------------------------------------------------------------------------------

SHSocialSnsPlatform::SHSocialSnsPlatform(std::string name) : platformName(std::move(name)) {
    platformInternal();
    loginClickHandler = [](const auto&, const auto&, bool, SHSocialResponseCompletion) {
        SHSocialUtils::outLog("the platform is not support login!");
    };
}

std::shared_ptr<SHSocialSnsPlatformInternal> SHSocialSnsPlatform::platformInternal() {
    if (!m_internal)
        m_internal = std::make_shared<SHSocialSnsPlatformInternal>(*this);
    return m_internal;
}

// --- Companion -------------------------------------------------------------------------------

SHSocialSnsPlatformInternal::SHSocialSnsPlatformInternal(SHSocialSnsPlatform& platform)
    : platformName(platform.platformName), m_platform(&platform) {}

int SHSocialSnsPlatformInternal::shareToType() const {
    return SHSocialSnsPlatformManagerInternal::getSnsPlatformType(platformName);
}

void SHSocialSnsPlatformInternal::snsClickHandlerWithController(
    const std::shared_ptr<platform::ViewController>& controller,
    const std::shared_ptr<SHSocialControllerService>& service, bool isPresent,
    const std::optional<std::string>& sourceOpType) {
    platformName = m_platform->platformName;
    SHSocialSnsHandler::handleClickHandler(service, platformName, sourceOpType);
    if (shareToType() == 10)
        platform::log("你需要按照文档要求添加qq空间设置才能进行分享");

    // The sign-in completion is kept by this companion: it holds it weakly.
    std::weak_ptr<SHSocialSnsPlatformInternal> weak = shared_from_this();
    auto editStep = [weak, controller, service, isPresent](const std::string& source) {
        auto self = weak.lock();
        if (!self || !service || !controller)
            return;
        if (isPresent) {
            if (auto edit =
                    service->getSocialShareEditControllerInternal(self->platformName, source))
                controller->presentViewController(edit, true);
        } else if (auto navigation = controller->navigationController()) {
            // Pushed onto the navigation controller the screen is in: the bare screen, not
            // one wrapped in a navigation controller of its own.
            if (auto edit = service->getSocialViewController(SHSViewControllerShareEdit,
                                                             self->platformName, source))
                navigation->pushViewController(edit, true);
        }
        if (self->socialUIDelegate)
            service->setSocialUIDelegate(self->socialUIDelegate);
    };
    auto signedIn = [weak, editStep](std::shared_ptr<SHSocialResponseEntity> response) {
        auto self = weak.lock();
        if (!self)
            return;
        if (response && response->responseCode == SHSResponseCodeSuccess)
            editStep("4");
        else if (self->socialUIDelegate)
            self->socialUIDelegate->didFinishGetSHSocialDataInViewController(response);
    };
    if (m_platform->needLogin) {
        if (!SHSocialAccountManager::isOauthAndTokenNotExpired(platformName))
            snsLoginHandlerrWithController(controller, service, isPresent, signedIn, "3");
        else
            editStep("3");
        return;
    }
    if (auto target = SHSocialSnsHandler::getSocialSnsHandler(platformName)) {
        if (target.builtIn)
            target.builtIn->clickHandlerWithSnsName(platformName, controller, service);
        else
            target.external->clickHandlerWithSnsName(platformName, controller, service);
    }
}

void SHSocialSnsPlatformInternal::snsLoginHandlerrWithController(
    const std::shared_ptr<platform::ViewController>& controller,
    const std::shared_ptr<SHSocialControllerService>& service, bool isPresent,
    SHSocialResponseCompletion completion, const std::optional<std::string>& sourceOpType) {
    platformName = m_platform->platformName;
    SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("4", sourceOpType, platformName);
    if (service) {
        auto current = service->socialUIDelegate();
        if (!std::dynamic_pointer_cast<SHSocialSnsPlatformInternal>(current))
            socialUIDelegate = current;
        service->setSocialUIDelegate(shared_from_this());
    }
    const bool clientSignOn = socialLoginDelegate &&
                              socialLoginDelegate->isClientInstall(platformName) &&
                              socialLoginDelegate->checkUrlSchema();
    // "sina" with the handler's sign-on type 1 always signs on through its client.
    const bool sinaSignOn =
        platformName == "sina" && SHSocialSnsHandler::shareInstance().sinaType == 1;
    if (clientSignOn || sinaSignOn) {
        SHSocialSnsHandler::shareInstance().currentSnsHandler = socialLoginDelegate;
        if (socialLoginDelegate)
            socialLoginDelegate->loginWithController(controller, std::move(completion),
                                                     platformName);
        else
            platform::log("SHSocial: no single sign-on handler for %@", platformName);
        return;
    }
    if (!m_platform->haveWebViewAuth || !service)
        return;
    service->nextViewController = -1;
    if (completion)
        loginCompletion = std::move(completion);
    if (isPresent) {
        if (auto oauth = service->getSocialOauthControllerInternal(platformName, "4");
            oauth && controller)
            controller->presentViewController(oauth, true);
    } else {
        SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("7", "4", platformName);
        // The bare sign-in page, pushed onto the navigation controller the screen is in.
        if (auto navigation = controller ? controller->navigationController() : nullptr)
            if (auto oauth =
                    service->getSocialViewController(SHSViewControllerOauth, platformName, "4"))
                navigation->pushViewController(oauth, true);
    }
}

void SHSocialSnsPlatformInternal::performLoginCompletion(
    std::shared_ptr<SHSocialResponseEntity> response) {
    auto completion = std::move(loginCompletion);
    loginCompletion = nullptr;
    if (completion)
        completion(std::move(response));
}

bool SHSocialSnsPlatformInternal::didFinishGetSHSocialDataInViewController(
    std::shared_ptr<SHSocialResponseEntity> response) {
    if (response && response->viewControllerType != 3) {
        std::weak_ptr<SHSocialSnsPlatformInternal> weak = shared_from_this();
        platform::RunLoop::main().postDelayed(std::chrono::milliseconds(500), [weak, response] {
            if (auto self = weak.lock())
                self->performLoginCompletion(response);
        });
        return true;
    }
    if (socialUIDelegate)
        return socialUIDelegate->didFinishGetSHSocialDataInViewController(std::move(response));
    return false;
}

void SHSocialSnsPlatformInternal::didCloseUIViewController(int viewControllerType) {
    if (socialUIDelegate)
        socialUIDelegate->didCloseUIViewController(viewControllerType);
}

std::optional<bool> SHSocialSnsPlatformInternal::closeOauthWebViewController(
    const std::shared_ptr<platform::NavigationController>& navigation,
    const std::shared_ptr<SHSocialControllerService>& service) {
    if (socialUIDelegate) {
        if (auto answer = socialUIDelegate->closeOauthWebViewController(navigation, service))
            return answer;
    }
    if (shareStatus == "1") {
        SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("9", "7", platformName);
        if (service && navigation) {
            const auto name = service->currentSnsPlatformName.value_or(platformName);
            // The edit screen joins the sign-in page's stack bare: that stack already has
            // its bar, and a wrapped screen would bring a second one.
            if (auto edit = service->getSocialViewController(SHSViewControllerShareEdit, name))
                navigation->pushViewController(edit, true);
        }
        loginCompletion = nullptr;
        shareStatus = "0";
        return true;
    }
    return false;
}

// --- Registry --------------------------------------------------------------------------------

SHSocialSnsPlatformManager::SHSocialSnsPlatformManager() {
    SHSocialConfig::shareInstance();
    for (const auto& entry : kDescribed) {
        auto platform = makeDescribed(entry);
        m_all.push_back(platform);
        m_described.push_back(platform);
    }
    for (const auto& platform : m_all) {
        installLoginHandler(platform);
        installClickHandler(platform);
    }
    if (!lookup(m_described, "facebook")) {
        auto facebook = SHSocialFacebookSnsHandler::getFacebookTwitterPlatform("facebook");
        auto twitter = SHSocialFacebookSnsHandler::getFacebookTwitterPlatform("twitter");
        auto email = SHSocialMailHandler::getEmailSmsPlatform("email");
        auto sms = SHSocialMailHandler::getEmailSmsPlatform("sms");
        for (const auto& platform : {facebook, twitter, email, sms}) addPlatform(platform);
        installLoginHandler(facebook);
    }
}

std::shared_ptr<SHSocialSnsPlatform> SHSocialSnsPlatformManager::lookup(
    const std::vector<std::shared_ptr<SHSocialSnsPlatform>>& list, const std::string& name) {
    for (const auto& platform : list) {
        if (platform->platformName == name)
            return platform;
    }
    return nullptr;
}

bool SHSocialSnsPlatformManager::addPlatform(std::shared_ptr<SHSocialSnsPlatform> platform) {
    if (!platform || lookup(m_all, platform->platformName))
        return false;
    m_all.push_back(std::move(platform));
    return true;
}

std::shared_ptr<SHSocialSnsPlatform> SHSocialSnsPlatformManager::getSocialPlatformWithName(
    const std::string& name) {
    return sharedInstance().getSnsPlatformWithName(name);
}

std::shared_ptr<SHSocialSnsPlatform> SHSocialSnsPlatformManager::getSnsPlatformWithName(
    const std::string& name) const {
    auto platform = lookup(m_all, name);
    if (!platform && name != "loginAccount")
        SHSocialUtils::outLog("SHSocial----%@, Error: displayName error!", name);
    return platform;
}

std::shared_ptr<SHSocialSnsPlatform> SHSocialSnsPlatformManager::getSnsPlatformWithType(
    int type) const {
    for (const auto& platform : m_all) {
        if (platform->shareToType == type)
            return platform;
    }
    return nullptr;
}

std::shared_ptr<SHSocialSnsPlatform> SHSocialSnsPlatformManager::getSnsPlatformWithIndex(
    int index) const {
    const auto names = socialSnsArray();
    if (index < 0 || static_cast<std::size_t>(index) >= names.size())
        return nullptr;
    return lookup(m_all, names[static_cast<std::size_t>(index)]);
}

std::optional<std::string> SHSocialSnsPlatformManager::getSnsPlatformString(int type) {
    if (auto platform = sharedInstance().getSnsPlatformWithType(type))
        return platform->platformName;
    SHSocialUtils::outLog("SHSocial----socialSnsType error!");
    return std::nullopt;
}

int SHSocialSnsPlatformManager::getSnsPlatformType(const std::string& name) {
    if (auto platform = lookup(sharedInstance().m_all, name))
        return platform->shareToType;
    SHSocialUtils::outLog("SHSocial----socialSnsString error!");
    return 0;
}

std::optional<std::string> SHSocialSnsPlatformManager::getSnsPlatformStringFromIndex(int index) {
    if (auto platform = sharedInstance().getSnsPlatformWithIndex(index))
        return platform->platformName;
    SHSocialUtils::outLog("SHSocial----sns index error!");
    return std::nullopt;
}

void SHSocialSnsPlatformManager::addMaskView() {
    toast =
        SHSocialiToast::makeText(SHSocialLocalizedString("label_request_account", "请稍等......"));
    toast->setDuration(30000);
    toast->show();
}

void SHSocialSnsPlatformManager::removeMaskView() {
    if (toast)
        toast->removeToast();
}

int SHSocialSnsPlatformManager::typeOfRegistered(const std::string& name) const {
    auto platform = lookup(m_all, name);
    return platform ? platform->shareToType : 0;
}

std::vector<std::vector<std::string>> SHSocialSnsPlatformManager::allSnsArray() const {
    return SHSocialConfigInternal::shareInstance().snsPlatformNames;
}

std::vector<std::string> SHSocialSnsPlatformManager::allSnsValuesArray() const {
    std::vector<std::string> names;
    for (const auto& entry : allSnsArray()) names.insert(names.end(), entry.begin(), entry.end());
    return names;
}

std::vector<std::string> SHSocialSnsPlatformManager::socialSnsArray() const {
    std::vector<std::string> names;
    for (const auto& name : allSnsValuesArray()) {
        if (lookup(m_described, name))
            names.push_back(name);
    }
    return names;
}
