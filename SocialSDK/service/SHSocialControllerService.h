#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/service/SHSocialUIDelegate.h"

namespace platform {
class NavigationController;
class View;
class ViewController;
}  // namespace platform
class SHSocialData;

// The share sheet: shows the registered platforms of a list and hands a tap to the
// platform's click road.
class SHSocialIconActionSheet {
public:
    virtual ~SHSocialIconActionSheet() = default;
    // Keeps, in order, the registered platforms of the names (see the registry).
    virtual void setSnsNames(const std::vector<std::string>& names) = 0;
    virtual const std::vector<std::string>& snsNames() const = 0;
    virtual void showInView(const std::shared_ptr<platform::View>& view) = 0;
};

// Makes the share SDK's screens for one share subject and carries the UI delegate of the
// road in progress. The screens themselves (sheet, share list, edit screen, sign-in page)
// are supplied through `screens`; until they are there, the SDK's roads stop where a screen
// would open.
class SHSocialControllerService : public std::enable_shared_from_this<SHSocialControllerService> {
public:
    struct Screens {
        std::function<std::shared_ptr<SHSocialIconActionSheet>(
            SHSocialControllerService&, const std::shared_ptr<platform::ViewController>&)>
            iconSheet;
        std::function<std::shared_ptr<platform::ViewController>(
            SHSocialControllerService&, const std::string& platformName,
            const std::optional<std::string>& sourceOpType)>
            shareEdit;
        std::function<std::shared_ptr<platform::ViewController>(
            SHSocialControllerService&, const std::string& platformName,
            const std::optional<std::string>& sourceOpType)>
            oauth;
        std::function<std::shared_ptr<platform::NavigationController>(SHSocialControllerService&)>
            shareList;
    };
    // Process-wide; the next screens fill it in.
    static Screens& screens();

    explicit SHSocialControllerService(std::shared_ptr<SHSocialData> socialData);
    static std::shared_ptr<SHSocialControllerService> defaultControllerService();
    static void resetDefaultControllerService();

    std::shared_ptr<SHSocialData> socialData;
    // Not owned.
    std::shared_ptr<SHSocialUIDelegate> socialUIDelegate() const { return m_uiDelegate.lock(); }
    void setSocialUIDelegate(std::weak_ptr<SHSocialUIDelegate> delegate) {
        m_uiDelegate = std::move(delegate);
    }
    std::optional<std::string> currentSnsPlatformName;
    int nextViewController = 0;
    std::weak_ptr<platform::NavigationController> currentNavigationController;

    std::shared_ptr<SHSocialIconActionSheet> getSocialIconActionSheetInControllerInternal(
        const std::shared_ptr<platform::ViewController>& controller);
    std::shared_ptr<platform::ViewController> getSocialShareEditControllerInternal(
        const std::string& platformName, const std::optional<std::string>& sourceOpType);
    std::shared_ptr<platform::ViewController> getSocialOauthControllerInternal(
        const std::string& platformName, const std::optional<std::string>& sourceOpType);
    std::shared_ptr<platform::NavigationController> getSocialShareListControllerInternal();

private:
    std::weak_ptr<SHSocialUIDelegate> m_uiDelegate;
};

// The least share sheet the entry road needs until the sheet screen exists: it keeps the
// registered names and hands a tap to the platform's click road (presenting modally).
class SHSocialIconSheetStandIn : public SHSocialIconActionSheet {
public:
    SHSocialIconSheetStandIn(std::weak_ptr<SHSocialControllerService> service,
                             std::weak_ptr<platform::ViewController> controller);
    void setSnsNames(const std::vector<std::string>& names) override;
    const std::vector<std::string>& snsNames() const override { return m_names; }
    void showInView(const std::shared_ptr<platform::View>& view) override;
    std::shared_ptr<platform::View> shownInView() const { return m_view.lock(); }
    // The user taps the platform's icon; false when the sheet does not show that name.
    bool tapPlatform(const std::string& name);

    // The sheet shown last (tests, the front end).
    static std::shared_ptr<SHSocialIconSheetStandIn> lastShown();

private:
    std::weak_ptr<SHSocialControllerService> m_service;
    std::weak_ptr<platform::ViewController> m_controller;
    std::weak_ptr<platform::View> m_view;
    std::vector<std::string> m_names;
};
