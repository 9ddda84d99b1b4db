#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/service/SHSSharedInstance.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "SocialSDK/service/SHSocialUIDelegate.h"

namespace platform {
class ViewController;
}
class SHSocialControllerService;
class SHSocialSnsPlatform;
class SHSocialiToast;

// The platform names of the whole SDK, in their fixed slots; the eighth slot holds no name.
// Only some of them are registered here (see SHSocialSnsPlatformManager).
inline constexpr std::array<const char*, 23> SHShareToNames = {
    "sina",    "tencent",      "renren",     "douban",          "qzone",
    "email",   "sms",          nullptr,      "alipaysession",   "facebook",
    "twitter", "wxsession",    "wxtimeline", "wxfavorite",      "qq",
    "yixin",   "yixin_circle", "laiwang",    "laiwang_dynamic", "instagram",
    "tumblr",  "whatsapp",     "line"};

using SHSocialSnsClickHandler =
    std::function<void(const std::shared_ptr<platform::ViewController>&,
                       const std::shared_ptr<SHSocialControllerService>&, bool isPresent)>;
using SHSocialSnsLoginHandler =
    std::function<void(const std::shared_ptr<platform::ViewController>&,
                       const std::shared_ptr<SHSocialControllerService>&, bool isPresent,
                       SHSocialResponseCompletion completion)>;

// A platform's single-sign-on handler (an application-switch login); none in this system.
class SHSocialSnsHandlerDelegate {
public:
    virtual ~SHSocialSnsHandlerDelegate() = default;
    virtual bool isClientInstall(const std::string& /*platformName*/) { return false; }
    virtual bool checkUrlSchema() { return false; }
    virtual void loginWithController(const std::shared_ptr<platform::ViewController>&,
                                     SHSocialResponseCompletion, const std::string&) {}
    virtual bool handleOpenURL(const std::string& /*url*/) { return false; }
};

// A platform's companion: carries its share (click) and sign-in (login) roads, and while a
// road runs stands in as the controller service's UI delegate.
class SHSocialSnsPlatformInternal
    : public SHSocialUIDelegate,
      public std::enable_shared_from_this<SHSocialSnsPlatformInternal> {
public:
    SHSocialSnsPlatformInternal(SHSocialSnsPlatform& platform);

    std::string platformName;
    SHSocialResponseCompletion loginCompletion;
    std::string shareStatus = "0";                         // "1" while the road started as a share
    std::shared_ptr<SHSocialUIDelegate> socialUIDelegate;  // the host's, kept while a road runs
    std::shared_ptr<SHSocialSnsHandlerDelegate> socialLoginDelegate;
    bool isHidden = false;

    int shareToType() const;

    void snsClickHandlerWithController(const std::shared_ptr<platform::ViewController>& controller,
                                       const std::shared_ptr<SHSocialControllerService>& service,
                                       bool isPresent,
                                       const std::optional<std::string>& sourceOpType);
    void snsLoginHandlerrWithController(const std::shared_ptr<platform::ViewController>& controller,
                                        const std::shared_ptr<SHSocialControllerService>& service,
                                        bool isPresent, SHSocialResponseCompletion completion,
                                        const std::optional<std::string>& sourceOpType);
    // Runs the pending sign-in completion once.
    void performLoginCompletion(std::shared_ptr<SHSocialResponseEntity> response);

    bool didFinishGetSHSocialDataInViewController(
        std::shared_ptr<SHSocialResponseEntity> response) override;
    void didCloseUIViewController(int viewControllerType) override;
    std::optional<bool> closeOauthWebViewController(
        const std::shared_ptr<platform::NavigationController>& navigation,
        const std::shared_ptr<SHSocialControllerService>& service) override;

private:
    SHSocialSnsPlatform* m_platform;  // the descriptor that owns this companion
};

// One share platform: its name, type, texts, icons, sign-in data and its two handlers.
class SHSocialSnsPlatform {
public:
    SHSocialSnsPlatform() = default;
    // Type 0, the name, a companion, and a login handler that only says it cannot log in.
    explicit SHSocialSnsPlatform(std::string name);
    SHSocialSnsPlatform(const SHSocialSnsPlatform&) = delete;
    SHSocialSnsPlatform& operator=(const SHSocialSnsPlatform&) = delete;

    std::string platformName;
    std::optional<std::string> oauthBaseURLString;
    std::optional<std::string> oauthCallBackPath;
    std::optional<std::string> displayName;
    std::optional<std::string> loginName;
    std::optional<std::string> bigImageName;
    std::optional<std::string> smallImageName;
    std::optional<std::string> smallImageOffName;
    int shareToType = 0;
    SHSocialSnsClickHandler snsClickHandler;
    SHSocialSnsLoginHandler loginClickHandler;
    bool needLogin = false;
    bool haveWebViewAuth = false;

    // Made on first read when absent.
    std::shared_ptr<SHSocialSnsPlatformInternal> platformInternal();

private:
    std::shared_ptr<SHSocialSnsPlatformInternal> m_internal;
};

// The registry of the platforms this system can show and drive. Lookups by type follow the
// order of registration.
class SHSocialSnsPlatformManager {
public:
    static SHSocialSnsPlatformManager& sharedInstance() {
        return SHSSharedInstance<SHSocialSnsPlatformManager>::get();
    }
    static void resetSharedInstance() { SHSSharedInstance<SHSocialSnsPlatformManager>::reset(); }

    static std::shared_ptr<SHSocialSnsPlatform> getSocialPlatformWithName(const std::string& name);
    std::shared_ptr<SHSocialSnsPlatform> getSnsPlatformWithName(const std::string& name) const;
    std::shared_ptr<SHSocialSnsPlatform> getSnsPlatformWithType(int type) const;
    std::shared_ptr<SHSocialSnsPlatform> getSnsPlatformWithIndex(int index) const;
    static std::optional<std::string> getSnsPlatformString(int type);
    static int getSnsPlatformType(const std::string& name);
    static std::optional<std::string> getSnsPlatformStringFromIndex(int index);

    // The configured order; an entry may be a list of names.
    std::vector<std::vector<std::string>> allSnsArray() const;
    std::vector<std::string> allSnsValuesArray() const;
    // Those of allSnsValuesArray that the registry describes itself.
    std::vector<std::string> socialSnsArray() const;

    // The registered platforms in registration order.
    const std::vector<std::shared_ptr<SHSocialSnsPlatform>>& allSnsPlatforms() const {
        return m_all;
    }
    bool isRegistered(const std::string& name) const { return lookup(m_all, name) != nullptr; }
    // Adds a platform under its name unless one of the name is there; false when not added.
    bool addPlatform(std::shared_ptr<SHSocialSnsPlatform> platform);

    // The lookup without log lines (the internal one).
    int typeOfRegistered(const std::string& name) const;

    // A please-wait message ("label_request_account") on the key window for 30 seconds, kept
    // in `toast`; removeMaskView takes it away.
    void addMaskView();
    void removeMaskView();
    std::shared_ptr<SHSocialiToast> toast;

private:
    friend class SHSSharedInstance<SHSocialSnsPlatformManager>;
    SHSocialSnsPlatformManager();
    static std::shared_ptr<SHSocialSnsPlatform> lookup(
        const std::vector<std::shared_ptr<SHSocialSnsPlatform>>& list, const std::string& name);

    std::vector<std::shared_ptr<SHSocialSnsPlatform>> m_all;        // all registered
    std::vector<std::shared_ptr<SHSocialSnsPlatform>> m_described;  // qzone ... douban
};
