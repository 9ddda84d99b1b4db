#pragma once

#include <memory>
#include <string>

#include "platform/ui/ViewController.h"
#include "platform/ui/WebViewDelegate.h"

namespace platform {
class WebView;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The questionnaire page "问卷调查": the school's questionnaire for the signed-in user in a
// web view of its own. The questionnaire site ends a questionnaire by sending the browser to
// a fixed outside address (ServiceConfig's questionnaireSentinelURL); the page refuses every
// request that names it anywhere and starts a fresh questionnaire in a new web view.
class QuestionnaireViewController : public platform::ViewController,
                                    public platform::WebViewDelegate {
public:
    static constexpr const char* kTitle = "问卷调查";
    static constexpr const char* kLoadingText = "加载中";
    static constexpr const char* kNetworkError = "网络错误";
    // The loading overlay of the first load goes by itself after this long at the latest.
    static constexpr double kLoadingSeconds = 20;

    QuestionnaireViewController();
    ~QuestionnaireViewController() override;

    // The questionnaire address for the account, the account escaped as a query value.
    static std::string questionnaireURL(const std::string& account);

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

    // The web view now shown; a new one after each finished questionnaire.
    const std::shared_ptr<platform::WebView>& myWebView() const { return m_myWebView; }
    // The loading overlay of the first load while it shows, else null.
    std::shared_ptr<platform::components::ProgressHUD> HUD() const;

    // Back through the web view's history; at its start, leaves the page.
    void backBtnWithAction();

    // platform::WebViewDelegate
    bool shouldStartLoadWithRequest(platform::WebView& webView, const platform::URLRequest& request,
                                    platform::WebViewNavigationType type) override;
    void webViewDidFinishLoad(platform::WebView& webView) override;
    void didFailLoadWithError(platform::WebView& webView, const platform::WebError& error) override;

private:
    void createTabBar();
    // A new web view loading a fresh questionnaire, in place of the one shown.
    void showFreshQuestionnaire();
    void removeHUD();

    std::shared_ptr<platform::WebView> m_myWebView;
    // The web view just replaced: kept until the next swap or the page's end, since the swap
    // happens inside its own delegate call.
    std::shared_ptr<platform::WebView> m_retiredWebView;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
};
