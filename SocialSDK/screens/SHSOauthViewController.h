#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/screens/SHSOauthCallback.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebViewDelegate.h"

class SHMaskView;
class SHSOauthFollowBar;
class SHSocialControllerService;
namespace platform {
class ImageView;
class WebView;
}  // namespace platform

// The page in which the user signs in to a share platform through its web pages. It loads
// the share service's sign-in address, shows a please-wait mask while a page loads, recognises
// the service's callback address and stores the token it carries as the platform's account,
// asks the service for the user's accounts and then closes with the result or goes on to the
// next screen. Its alerts close it without a result.
class SHSOauthViewController : public platform::ViewController,
                               public platform::WebViewDelegate,
                               public platform::AlertViewDelegate {
public:
    explicit SHSOauthViewController(std::shared_ptr<SHSocialControllerService> service);

    std::shared_ptr<SHSocialControllerService> socialControllerService;

    bool haveOauth() const { return m_haveOauth; }
    bool isAddFollow() const { return m_isAddFollow; }
    // The platform accounts to follow after sign-in; empty when the page offers none.
    const std::vector<std::string>& followUsid() const { return m_followUsid; }
    const std::shared_ptr<platform::WebView>& webView() const { return m_webView; }
    const std::shared_ptr<SHMaskView>& maskView() const { return m_maskView; }
    std::shared_ptr<platform::ImageView> followView() const;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    // --- Rotation and the tablet (SHSOauthViewControllerRotation.cpp) ----------------------
    // On a tablet, while the page is its stack's only screen, the sheet it is presented in
    // takes the configured size and the web view and cover follow it.
    void viewWillAppear(bool animated) override;
    bool shouldAutorotateToInterfaceOrientation(
        platform::InterfaceOrientation orientation) override;
    void willRotateToInterfaceOrientation(platform::InterfaceOrientation to,
                                          double duration) override;
    // On a phone the web view takes the whole view again.
    void didRotateFromInterfaceOrientation(platform::InterfaceOrientation from) override;
    // On a tablet a platform's wide sign-in page is scrolled to its middle.
    void setContentOffset();
    // The platform's login page, which is laid out wider than the tablet's sheet.
    static bool isWideLoginPage(const std::string& platformName, const std::string& url);

    // The share service's sign-in address for the platform; nullopt without an application key.
    std::optional<std::string> signInURL() const;

    bool shouldStartLoadWithRequest(platform::WebView& webView, const platform::URLRequest& request,
                                    platform::WebViewNavigationType type) override;
    void webViewDidStartLoad(platform::WebView& webView) override;
    void webViewDidFinishLoad(platform::WebView& webView) override;
    void didFailLoadWithError(platform::WebView& webView, const platform::WebError& error) override;
    // The button of the page's network and sign-in failure alerts closes the page.
    void clickedButtonAtIndex(platform::AlertView& alert, int index) override;

    // The callback query's pairs, and whether an address is itself an "sms:" one (see
    // SHSOauthCallback).
    static std::map<std::string, std::string> parseUrl(const std::string& query) {
        return SHSOauthCallback::parseUrl(query);
    }
    static bool carriesSms(const std::string& url) { return SHSOauthCallback::carriesSms(url); }

    // A navigation request of the web view; false when the page handled it as the callback.
    bool shouldStartLoad(const std::string& url, platform::WebViewNavigationType type =
                                                     platform::WebViewNavigationType::Other);
    // Stores the platform account of the parsed callback, at once in the archive too.
    void saveOauthInfoObjects(const std::map<std::string, std::string>& info);
    void handleOauth();
    void handleFinishOauth(const std::shared_ptr<SHSocialResponseEntity>& response);
    // The user's accounts from the share service: the next screen 0.7 s later, or the
    // result to the UI delegate when no next screen is asked for.
    void accountsArrived(const std::shared_ptr<SHSocialResponseEntity>& response);
    void showNextViewController(const std::shared_ptr<SHSocialResponseEntity>& response);

    // --- Closing ------------------------------------------------------------------------
    void closeWithCancel();
    void closeWithoutDelegate();
    // Unless the UI delegate closes the page itself, closeDirectly with the response.
    void closeWithResponse(const std::shared_ptr<SHSocialResponseEntity>& response);
    // The back button: a cancel, by the service when the page is alone on its stack, else by
    // popping the page and telling the UI delegate (5052).
    void closeDirectly();
    void closeDirectly(const std::shared_ptr<SHSocialResponseEntity>& response);
    void showCloseButton();
    void showBackButton();

    // The follow check box of the follow bar.
    void addFollow();

    // Hands an "sms:" address to the system.
    static void sendSMS(const std::string& url);

private:
    std::string platformName() const;
    std::shared_ptr<SHSOauthViewController> self();
    void loadSignInPage();
    // Whether this page is the only screen of its navigation controller.
    bool isOnlyScreen();
    void makeAddFollowView();
    void setInActivity();
    void showAlert(const std::string& titleKey, const std::string& title,
                   const std::string& messageKey, const std::string& message, bool closesPage);

    bool m_haveOauth = false;
    bool m_isAddFollow = true;
    std::vector<std::string> m_followUsid;
    std::shared_ptr<platform::WebView> m_webView;
    std::shared_ptr<SHMaskView> m_maskView;
    std::shared_ptr<SHSOauthFollowBar> m_followView;
};
