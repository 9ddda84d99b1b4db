#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/service/SHSocialDataService.h"
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

// The share SDK's screen numbers.
enum SHSViewControllerType {
    SHSViewControllerShareList = 2,
    SHSViewControllerShareEdit = 3,
    SHSViewControllerAccount = 4,
    SHSViewControllerOauth = 7,
    SHSViewControllerFriend = 9,
    SHSViewControllerIconActionSheet = 10,
};

// Makes the share SDK's screens for one share subject, remembers which screen is open and
// closes it, reporting to the UI delegate of the road in progress. The screens themselves are
// supplied through `screens`: each maker answers its screen (the edit screen and the sign-in
// page bare: the service wraps them in the SDK's navigation controller); a road stops where a
// maker is missing or answers nothing.
class SHSocialControllerService : public std::enable_shared_from_this<SHSocialControllerService> {
public:
    // The share sheet of the SDK, with the service's tap handler.
    static std::shared_ptr<SHSocialIconActionSheet> makeIconSheet(
        SHSocialControllerService& service,
        const std::shared_ptr<platform::ViewController>& controller);

    struct Screens {
        std::function<std::shared_ptr<SHSocialIconActionSheet>(
            SHSocialControllerService&, const std::shared_ptr<platform::ViewController>&)>
            iconSheet = &SHSocialControllerService::makeIconSheet;
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
        // The friend picker, bare (the edit screen pushes it onto its own navigation).
        std::function<std::shared_ptr<platform::ViewController>(SHSocialControllerService&)>
            friendList;
    };
    // The makers of the view-controller factory (SHSViewControllerFactory), which the
    // screens library fills in when the program is loaded.
    static Screens& screens();

    explicit SHSocialControllerService(std::shared_ptr<SHSocialData> socialData);
    static std::shared_ptr<SHSocialControllerService> defaultControllerService();
    static void resetDefaultControllerService();

    std::shared_ptr<SHSocialData> socialData;
    // The requests of the service's subject; closing clears its delegate and its queue.
    std::shared_ptr<SHSocialDataService> socialDataService() const;
    // Not owned.
    std::shared_ptr<SHSocialUIDelegate> socialUIDelegate() const { return m_uiDelegate.lock(); }
    void setSocialUIDelegate(std::weak_ptr<SHSocialUIDelegate> delegate) {
        m_uiDelegate = std::move(delegate);
    }
    std::optional<std::string> currentSnsPlatformName;
    int nextViewController = -1;
    std::weak_ptr<platform::NavigationController> currentNavigationController;
    std::weak_ptr<platform::ViewController> currentViewController;

    int currentViewControllerType() const { return m_currentType; }
    void setCurrentViewControllerType(int type) { m_currentType = type; }
    // The screen types opened through this service, innermost last.
    const std::vector<int>& currentViewControllerArray() const { return m_typeStack; }

    // Counted twins (ops "6" and "5") of the builders below.
    std::shared_ptr<SHSocialIconActionSheet> getSocialIconActionSheetInController(
        const std::shared_ptr<platform::ViewController>& controller);
    std::shared_ptr<platform::NavigationController> getSocialShareListController();

    // The edit screen and the sign-in page for a platform, with no source operation.
    std::shared_ptr<platform::ViewController> getSocialShareEditController(
        const std::string& platformName) {
        return getSocialShareEditControllerInternal(platformName, std::nullopt);
    }
    std::shared_ptr<platform::ViewController> getSocialOauthController(
        const std::string& platformName) {
        return getSocialOauthControllerInternal(platformName, std::nullopt);
    }

    std::shared_ptr<SHSocialIconActionSheet> getSocialIconActionSheetInControllerInternal(
        const std::shared_ptr<platform::ViewController>& controller);
    std::shared_ptr<platform::ViewController> getSocialShareEditControllerInternal(
        const std::string& platformName, const std::optional<std::string>& sourceOpType);
    std::shared_ptr<platform::ViewController> getSocialOauthControllerInternal(
        const std::string& platformName, const std::optional<std::string>& sourceOpType);
    std::shared_ptr<platform::NavigationController> getSocialShareListControllerInternal();
    // The account screen (type 4): the factory has none, so nothing opens.
    std::shared_ptr<platform::ViewController> getSocialAccountControllerInternal();
    // The subject's share text and picture, and the UI delegate of the roads to come.
    void setShareText(const std::optional<std::string>& shareText, const SHSImageObject& shareImage,
                      std::weak_ptr<SHSocialUIDelegate> delegate);
    // The bare screen of a type (edit screen 3, sign-in page 7, friend picker 9) for the
    // platform when one is named, as a road pushes it onto a navigation controller it is
    // already in (no wrapper, no entry on the type stack); sign-in first as below; none for an
    // edit screen of a platform that cannot have one, or a type without a maker.
    std::shared_ptr<platform::ViewController> getSocialViewController(
        int type, const std::optional<std::string>& platformName = std::nullopt,
        const std::optional<std::string>& sourceOpType = std::nullopt);
    // The screen a type stands for once sign-in is taken into account: an edit screen for a
    // platform without a valid token becomes the sign-in page, with the edit screen next.
    int transformViewControllerType(int type, int snsType);
    // A screen inside the SDK's navigation controller: its colour and bar style.
    std::shared_ptr<platform::NavigationController> makeNavigationControllerWithContorller(
        const std::shared_ptr<platform::ViewController>& screen) {
        return wrap(screen);
    }

    // A share of the platform straight to the service, as a host that asks for direct share
    // gets it from the sheet and the list: the platform's text, picture and link, else the
    // subject's; the result goes to the UI delegate while it lives.
    SHSocialDataService::ContentDictionary directShareDictionary(
        const std::string& platformName,
        const std::shared_ptr<platform::ViewController>& controller) const;

    // Puts the SDK's close button ("关闭", a cancel) on the screen's navigation item.
    void addCloseButton(platform::ViewController& screen);

    // Closing: a cancel tells the delegate (edit screen, or a sign-in page nobody finished)
    // with 5052; a result is handed on; then the open screen is dismissed.
    void closeWithCancelResponse();
    void closeWithResponse(std::shared_ptr<SHSocialResponseEntity> response);
    void close();
    void closeInternal();
    void didFinishedDismissViewController();

private:
    void pushType(int type);
    void rollBackType();
    std::shared_ptr<platform::NavigationController> wrap(
        const std::shared_ptr<platform::ViewController>& screen);
    // The screen of a type, counted on the type stack; the count is rolled back when no
    // screen comes of it.
    std::shared_ptr<platform::ViewController> makeCountedScreen(
        int type, const std::optional<std::string>& platformName = std::nullopt,
        const std::optional<std::string>& sourceOpType = std::nullopt);
    // The screen in the SDK's navigation controller, both becoming the current ones.
    std::shared_ptr<platform::NavigationController> wrapAsCurrent(
        const std::shared_ptr<platform::ViewController>& screen);

    std::weak_ptr<SHSocialUIDelegate> m_uiDelegate;
    std::shared_ptr<SHSocialDataService> m_ownDataService;
    std::vector<int> m_typeStack;
    int m_currentType = 0;
};
