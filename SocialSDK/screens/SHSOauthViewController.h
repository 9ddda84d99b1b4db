#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebViewDelegate.h"

class SHSocialControllerService;
namespace platform {
class WebView;
}  // namespace platform

// The page in which the user signs in to a share platform through its web pages; it
// recognises the share service's callback address and stores the token it carries.
class SHSOauthViewController : public platform::ViewController, public platform::WebViewDelegate {
public:
    explicit SHSOauthViewController(std::shared_ptr<SHSocialControllerService> service);

    std::shared_ptr<SHSocialControllerService> socialControllerService;
    bool haveOauth() const { return m_haveOauth; }
    const std::shared_ptr<platform::WebView>& webView() const { return m_webView; }

    void viewDidLoad() override;
    // The share service's sign-in address for the platform; nullopt without an application key.
    std::optional<std::string> signInURL() const;

    bool shouldStartLoadWithRequest(platform::WebView& webView, const platform::URLRequest& request,
                                    platform::WebViewNavigationType type) override;
    void didFailLoadWithError(platform::WebView& webView, const platform::WebError& error) override;

    // The callback query's key=value pairs: split at "&", each pair at its first "=" (a value
    // may hold "=" itself, as Base64 does); a pair without "=" has an empty value.
    static std::map<std::string, std::string> parseUrl(const std::string& query);

    // A navigation request of the web view; false when the page handled it as the callback.
    bool shouldStartLoad(const std::string& url);
    // Stores the platform account of the parsed callback, at once in the archive too.
    void saveOauthInfoObjects(const std::map<std::string, std::string>& info);
    void handleOauth();
    void handleFinishOauth(const std::shared_ptr<SHSocialResponseEntity>& response);
    // The user's accounts from the share service: the next screen 0.7 s later, or the
    // result to the UI delegate when no next screen is asked for.
    void accountsArrived(const std::shared_ptr<SHSocialResponseEntity>& response);
    void showNextViewController(const std::shared_ptr<SHSocialResponseEntity>& response);
    // Whether a failed load's address is one to hand to the system (an "sms:" address), not
    // merely one that contains "sms:" somewhere.
    static bool isSmsAddress(const std::string& url);

private:
    std::string platformName() const;
    void loadSignInPage();
    bool m_haveOauth = false;
    std::shared_ptr<platform::WebView> m_webView;
};
