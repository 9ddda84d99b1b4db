#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"

namespace platform {
class ViewController;
}
class SHSocialControllerService;

// A platform handler of the wider SDK that this system does not hold (the chat and QQ
// handlers, the direct-share and single-sign-on handlers). The SDK finds them by class name
// and does nothing when the name is not there; every method is optional.
class SHSocialExternalHandler {
public:
    virtual ~SHSocialExternalHandler() = default;
    // Platform taps handed over by the base handler.
    virtual void clickHandlerWithSnsName(const std::string& /*snsName*/,
                                         const std::shared_ptr<platform::ViewController>&,
                                         const std::shared_ptr<SHSocialControllerService>&) {}
    // Sign-out of the platform ("facebook", "twitter", "sina" handlers).
    virtual void unOauth(SHSocialResponseCompletion /*completion*/) {}
    virtual void cancelAuth() {}
    // Direct share ("facebook", "twitter").
    virtual void setCompletion(SHSocialResponseCompletion /*completion*/) {}
    virtual void clickShareButton(const std::optional<std::string>& /*text*/,
                                  const SHSImageObject& /*image*/,
                                  const std::shared_ptr<platform::ViewController>&) {}
    virtual bool isOpenTwitter() const { return false; }
    virtual std::optional<std::string> appId() const { return std::nullopt; }
};

// The classes present at run time, by name: empty in this system. Tests register stand-ins.
class SHSocialHandlerClasses {
public:
    // The shared instance of the class of that name; null when the class is absent.
    static std::shared_ptr<SHSocialExternalHandler> classNamed(const std::string& name);
    static void registerClass(const std::string& name,
                              std::shared_ptr<SHSocialExternalHandler> sharedInstance);
    static void removeAll();
};
