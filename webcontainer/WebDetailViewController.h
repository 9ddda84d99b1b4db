#pragma once

#include <functional>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "platform/ui/ViewController.h"
#include "platform/ui/WebViewDelegate.h"
#include "signin/loginPopViewDelegeta.h"
#include "webcontainer/ItemScanDelegate.h"

namespace platform {
struct Notification;
class WebView;
namespace components {
class ProgressHUD;
}
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
                                public loginPopViewDelegeta,
                                public ItemScanDelegate {
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

    // platform::WebViewDelegate
    void webViewDidStartLoad(platform::WebView& webView) override;
    void webViewDidFinishLoad(platform::WebView& webView) override;
    void didFailLoadWithError(platform::WebView& webView, const platform::WebError& error) override;

    // --- Code scanner and image preview (WebDetailViewControllerScan.cpp) -------------------
    // Pushes the code scanner (Chinese texts, titled "扫码") with this container as its
    // delegate: single mode, or batch mode when `batch`. Its answer comes back through
    // ItemScanStr / ItemScanArry (ItemScanDelegate), which the command bridge turns into the
    // page's reply.
    void openScanner(bool batch);
    // Downloads the images (each with a time-out) and pushes the preview of every one that
    // loaded, in URL order; pushes nothing when none did.
    void previewImage(const std::vector<std::string>& urls);
    // --- end of code scanner and image preview ------------------------------------------

private:
    void presentSignIn(bool isWebLogin, bool animated);
    void showLoadingOverlay();
    void hideLoadingOverlay();

    std::string m_titleStr;
    std::string m_urlStr;
    std::shared_ptr<platform::WebView> m_webView;
    std::weak_ptr<platform::components::ProgressHUD> m_loadingOverlay;
    bool m_userInfoRequestPending{false};
};

// The text of a "callback(...)" script answering a page with the document: valid JSON whatever
// the stored values hold, with the two line separators that end a script line escaped too.
std::string userInfoCallbackScript(const nlohmann::ordered_json& document);
