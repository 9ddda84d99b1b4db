#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/service/SHSocialResponseEntity.h"

namespace platform {
class NavigationController;
}
class SHSocialControllerService;
class SHSocialData;

// A host's (or an SDK road's) listener for the share UI. Every method is optional: the
// defaults are what a listener that does not answer the message gives.
class SHSocialUIDelegate {
public:
    virtual ~SHSocialUIDelegate() = default;
    virtual void didSelectSocialPlatform(const std::string& /*platformName*/,
                                         const std::shared_ptr<SHSocialData>& /*socialData*/) {}
    // False when the listener does not take results (the caller then keeps it).
    virtual bool didFinishGetSHSocialDataInViewController(
        std::shared_ptr<SHSocialResponseEntity> /*response*/) {
        return false;
    }
    virtual void didCloseUIViewController(int /*viewControllerType*/) {}
    // Whether a platform chosen on the sheet or the share list is shared at once, without
    // the edit screen; a listener that does not answer says no.
    virtual bool isDirectShareInIconActionSheet() { return false; }
    // Nothing when the listener does not answer; else whether it handled the close.
    virtual std::optional<bool> closeOauthWebViewController(
        const std::shared_ptr<platform::NavigationController>&,
        const std::shared_ptr<SHSocialControllerService>&) {
        return std::nullopt;
    }
};
