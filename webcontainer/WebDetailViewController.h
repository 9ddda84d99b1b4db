#pragma once

#include <functional>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>

#include "components/webprogress/WebViewProgressDelegate.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebViewDelegate.h"
#include "signin/loginPopViewDelegeta.h"

namespace platform {
struct Notification;
struct URLRequest;
class View;
class WebView;
namespace components {
class ProgressHUD;
class WebViewProgress;
class WebViewProgressView;
}  // namespace components
}  // namespace platform

// The web page container: shows one school web page, titled by its opener. The opener sets
// the title and the already escaped address before pushing it; the page loads when the view
// does, ignoring cached data, and gives up after 10 seconds.
//
// A page may ask for the signed-in user's information. While such a request is pending the
// container answers it as soon as a sign-in completes ("LoginSuccess"), with the stored user
// information as a "callback(...)" script.
class WebDetailViewController : public platform::ViewController,
                                public platform::WebViewDelegate,
                                public platform::components::WebViewProgressDelegate,
                                public loginPopViewDelegeta {
public:
    static constexpr double kTimeoutSeconds = 10;
    static constexpr const char* kLoadingText = "加载中";

    WebDetailViewController();
    ~WebDetailViewController() override;

    const std::string& titleStr() const { return m_titleStr; }
    void setTitleStr(std::string title) { m_titleStr = std::move(title); }
    const std::string& urlStr() const { return m_urlStr; }
    // Used as it is: the opener escapes it.
    void setUrlStr(std::string url) { m_urlStr = std::move(url); }

    void viewDidLoad() override;

    // Null until the view has loaded.
    const std::shared_ptr<platform::WebView>& webView() const { return m_webView; }
    // The loading overlay while it shows, else null.
    std::shared_ptr<platform::components::ProgressHUD> loadingOverlay() const;

    // A page's request for the user's information, waiting for a sign-in. The command bridge
    // sets it when a page asks while nobody is signed in.
    void setUserInfoRequestPending(bool pending) { m_userInfoRequestPending = pending; }
    bool isUserInfoRequestPending() const { return m_userInfoRequestPending; }
    // Presents the sign-in page in web-sign-in mode, reporting back to this container.
    void presentWebSignIn();

    // Observer of "LoginSuccess": answers the pending request, if any.
    void CalkBackUserMessage(const platform::Notification& notification);

    // loginPopViewDelegeta: the user backed out of the web sign-in; leave the page too.
    void popViewController() override;

    // --- Container page: the screen around the web page ----------------------------------
    // The web view takes the view's width and its height less 64 points, fixed when the view
    // loads. A load progress line lies along the bottom of the navigation bar while this
    // page is on screen. The overlay "加载中" shows once, from the view's load until the
    // first load ends, the back button is tapped or kOverlaySeconds pass. A failed load
    // covers the web view with the fail view (one, reused) whose reload button loads
    // `urlStr` again; a load cancelled because another replaced it shows nothing.
    static constexpr double kOverlaySeconds = 20;

    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    // Sets the left bar button: back through the page's history, then off the screen.
    void backButton();
    void backButtonAction();
    // Builds the web view, the progress proxy and line, and starts the first load.
    void createWebView();
    // Shows the fail view, made on the first call; hides it and loads `urlStr` again.
    void addFailView();
    void hiddenFailView();

    // Null until the view has loaded.
    const std::shared_ptr<platform::components::WebViewProgressView>& progressView() const {
        return m_progressView;
    }
    // Null until the first failure that shows it.
    const std::shared_ptr<platform::View>& failView() const { return m_failView; }
    bool isFailViewShowing() const;

    // platform::WebViewDelegate, reached through the progress proxy (the bridge answers
    // shouldStartLoadWithRequest).
    void webViewDidFinishLoad(platform::WebView& webView) override;
    void didFailLoadWithError(platform::WebView& webView, const platform::WebError& error) override;
    // platform::components::WebViewProgressDelegate
    void webViewProgress(platform::components::WebViewProgress& progress, float value) override;

private:
    void presentSignIn(bool isWebLogin, bool animated);
    void showLoadingOverlay();
    void hideLoadingOverlay();
    platform::URLRequest pageRequest() const;
    void buildFailView();

    std::string m_titleStr;
    std::string m_urlStr;
    std::shared_ptr<platform::WebView> m_webView;
    std::weak_ptr<platform::components::ProgressHUD> m_loadingOverlay;
    std::shared_ptr<platform::components::WebViewProgressView> m_progressView;
    // The web view's delegate; hands every call on to this controller.
    std::shared_ptr<platform::components::WebViewProgress> m_progressProxy;
    std::shared_ptr<platform::View> m_failView;
    // --- end of the container page ------------------------------------------------------
    bool m_userInfoRequestPending{false};
};

// The text of a "callback(...)" script answering a page with the document: valid JSON whatever
// the stored values hold, with the two line separators that end a script line escaped too.
std::string userInfoCallbackScript(const nlohmann::ordered_json& document);
