#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/service/SHSSharedInstance.h"
#include "SocialSDK/service/SHSocialUIDelegate.h"

namespace platform {
class ViewController;
}
class SHSocialControllerService;
class SHSocialIconActionSheet;

// The share SDK's public face: what a host calls to show the share UI. Main thread.
class SHSocialSnsService {
public:
    static SHSocialSnsService& sharedInstance() {
        return SHSSharedInstance<SHSocialSnsService>::get();
    }
    static void resetSharedInstance() { SHSSharedInstance<SHSocialSnsService>::reset(); }

    // The platforms a host offers: a list it gives, even an empty one, narrows the choice to
    // it; a list it leaves out (nullopt) offers every configured platform.
    using PlatformNames = std::optional<std::vector<std::string>>;

    // The share sheet with the registered platforms among the names (op "2"). The web
    // container's share command comes here.
    static void presentSnsIconSheetView(const std::shared_ptr<platform::ViewController>& controller,
                                        const std::optional<std::string>& appKey,
                                        const std::optional<std::string>& shareText,
                                        const SHSImageObject& shareImage,
                                        const PlatformNames& snsNames,
                                        std::weak_ptr<SHSocialUIDelegate> delegate);
    // The share list, presented modally (op "1").
    static void presentSnsController(const std::shared_ptr<platform::ViewController>& controller,
                                     const std::optional<std::string>& appKey,
                                     const std::optional<std::string>& shareText,
                                     const SHSImageObject& shareImage,
                                     const PlatformNames& snsNames,
                                     std::weak_ptr<SHSocialUIDelegate> delegate);
    static bool handleOpenURL(const std::string& url);
    // The same, with the chat platform's API delegate for a handler that wants it.
    static bool handleOpenURL(const std::string& url, const std::shared_ptr<void>& wxApiDelegate);
    static void applicationDidBecomeActive() {}

    std::shared_ptr<SHSocialIconActionSheet> showSnsIconSheetView(
        const std::shared_ptr<platform::ViewController>& controller,
        const std::optional<std::string>& appKey, const std::optional<std::string>& shareText,
        const SHSImageObject& shareImage, const PlatformNames& snsNames,
        std::weak_ptr<SHSocialUIDelegate> delegate);
    void presentSnsControllerInstance(const std::shared_ptr<platform::ViewController>& controller,
                                      const std::optional<std::string>& appKey,
                                      const std::optional<std::string>& shareText,
                                      const SHSImageObject& shareImage,
                                      const PlatformNames& snsNames,
                                      std::weak_ptr<SHSocialUIDelegate> delegate);

    std::shared_ptr<SHSocialControllerService> socialControllerService;
    // The sheet shown last, kept while it may be tapped.
    std::shared_ptr<SHSocialIconActionSheet> iconSheet;
    // Not owned.
    std::weak_ptr<platform::ViewController> presentingController;

private:
    friend class SHSSharedInstance<SHSocialSnsService>;
    SHSocialSnsService() = default;
    void setSocialDataWithController(const std::shared_ptr<platform::ViewController>& controller,
                                     const std::optional<std::string>& appKey,
                                     const std::optional<std::string>& shareText,
                                     const SHSImageObject& shareImage,
                                     std::weak_ptr<SHSocialUIDelegate> delegate);
};
