#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/service/SHSSharedInstance.h"
#include "SocialSDK/service/SHSocialControllerService.h"

namespace platform {
class ViewController;
}

// Makes the share SDK's screens from a screen type. The screens live in the library above
// this one, which makes itself known when the program is loaded (registerScreens): a program
// that links the SDK's public target has them without calling anything. Main thread.
class SHSViewControllerFactory {
public:
    using Installer = void (*)(SHSocialControllerService::Screens&);

    static SHSViewControllerFactory& sharedInstance() {
        return SHSSharedInstance<SHSViewControllerFactory>::get();
    }
    // A fresh factory, as a new process has: the linked screens, no history (for tests).
    static void resetSharedInstance() { SHSSharedInstance<SHSViewControllerFactory>::reset(); }
    // Called by the screens library as the program is loaded: fills the makers of the shared
    // factory now and of every fresh one.
    static void registerScreens(Installer installer);

    // Every requested type, in order; nothing removes them.
    std::vector<int> viewControllerStack;
    // Not used by the factory itself; kept for a host's mail delegate.
    std::weak_ptr<void> mailDelegate;
    // The makers of the screens; empty ones when no screens library is linked.
    SHSocialControllerService::Screens screens;

    // The bare screen of the type (share list 2 comes in its navigation controller), given
    // the service; none for a type without a screen (the account screen 4 among them). A
    // known type whose maker is missing says so in the system log.
    std::shared_ptr<platform::ViewController> createSocialViewController(
        int type, int snsType, SHSocialControllerService& service,
        const std::optional<std::string>& sourceOpType = std::nullopt);

private:
    friend class SHSSharedInstance<SHSViewControllerFactory>;
    SHSViewControllerFactory();
};
