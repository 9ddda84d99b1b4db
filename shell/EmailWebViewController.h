#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/ViewController.h"
#include "platform/ui/WebViewDelegate.h"

namespace platform {
class WebView;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The mailbox page: the app service's mail sign-in page in a web view, opened with the
// signed-in account encrypted (single DES, ECB, PKCS#7, upper-case hex) and the user's kind
// ("teacher" or "student"). Pushed by the home page's "电子邮箱" tile for a signed-in user.
//
// A user of neither kind, or an account that cannot be encrypted, gets a toast saying so and
// no page: the service would only turn such an address away.
class EmailWebViewController : public platform::ViewController, public platform::WebViewDelegate {
public:
    static constexpr const char* kTitle = "邮箱";
    static constexpr const char* kLoadingText = "加载中";
    static constexpr const char* kUnknownKindText = "无法识别用户类型";
    static constexpr const char* kEncryptionFailedText = "账号加密失败";
    // The service's fixed key text; DES uses its first 8 bytes.
    static constexpr const char* kKey = "qk58302716449";
    // How long the loading overlay stays at most when the page does not finish.
    static constexpr double kLoadingTimeoutSeconds = 20;

    // The encryption: key text and plain bytes in, cipher bytes out, nothing on failure.
    using Cipher =
        std::function<std::optional<std::string>(std::string_view key, std::string_view plain)>;

    // Encrypts with OpenSSL's single DES.
    EmailWebViewController();
    // Encrypts with the given cipher (tests use one that fails).
    explicit EmailWebViewController(Cipher cipher);
    ~EmailWebViewController() override;

    // Null until the view has loaded.
    const std::shared_ptr<platform::WebView>& myWebView() const { return m_myWebView; }
    // The loading overlay while it shows, else null.
    std::shared_ptr<platform::components::ProgressHUD> HUD() const;

    // The page's root view and web view, built in code in place of its interface layout file.
    void loadView() override;
    void viewDidLoad() override;
    void createTabBar();
    void backBtnWithAction();

    // The UTF-8 bytes of the text encrypted under the key text, as upper-case hex (two
    // digits a byte); nothing when the encryption fails. The output is sized from the input,
    // so no account is too long.
    std::optional<std::string> encryptUseDES2Hex(const std::string& text,
                                                 const std::string& key) const;
    // The mail sign-in address for the encrypted account and the kind's word.
    static std::string emailLoginURL(const std::string& encryptedHex, const std::string& type);

    // platform::WebViewDelegate
    void webViewDidFinishLoad(platform::WebView& webView) override;

private:
    void showLoadingOverlay();
    void removeHUD();
    void refuse(const std::string& text);

    Cipher m_cipher;
    std::shared_ptr<platform::WebView> m_myWebView;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
};
