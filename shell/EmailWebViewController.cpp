#include "shell/EmailWebViewController.h"

#include "client/ServiceConfig.h"
#include "client/SignInSession.h"
#include "client/URLTemplate.h"
#include "components/hud/ProgressHUD.h"
#include "components/photopicker/WebPhotoFilePicker.h"
#include "platform/foundation/Crypto.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WebView.h"
#include "platform/web/URLRequest.h"
#include "widgets/ProgressHUDConveniences.h"
#include "widgets/ViewControllerBackBarItem.h"

namespace {

constexpr const char* kEmailLoginPath = "api/user/emailLogin.do?userId=%@&type=%@";
constexpr double kTitleFontSize = 19;

// The word the service expects for the kind; "" for a user of neither kind.
std::string typeWord(UserKind kind) {
    switch (kind) {
        case UserKind::Teacher:
            return "teacher";
        case UserKind::Student:
            return "student";
        case UserKind::None:
            break;
    }
    return {};
}

}  // namespace

EmailWebViewController::EmailWebViewController()
    : EmailWebViewController([](std::string_view key, std::string_view plain) {
          return platform::desEcbEncrypt(key, plain);
      }) {}

EmailWebViewController::EmailWebViewController(Cipher cipher) : m_cipher(std::move(cipher)) {}

EmailWebViewController::~EmailWebViewController() = default;

std::shared_ptr<platform::components::ProgressHUD> EmailWebViewController::HUD() const {
    return m_HUD && m_HUD->isShowing() ? m_HUD : nullptr;
}

void EmailWebViewController::loadView() {
    const auto screen = platform::Screen::main().bounds();
    auto root = platform::View::make<platform::View>(screen);
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    // The page fills the screen below the navigation bar.
    m_myWebView = platform::View::make<platform::WebView>(root->bounds());
    m_myWebView->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                                     platform::AutoresizingMask::FlexibleHeight);
    m_myWebView->setDelegate(std::static_pointer_cast<platform::WebViewDelegate>(
        std::static_pointer_cast<EmailWebViewController>(shared_from_this())));
    // A page's file field offers the phone's photos, as the phone's own web view does.
    m_myWebView->setFilePicker(std::make_shared<platform::components::WebPhotoFilePicker>());
    root->addSubview(m_myWebView);
    setView(root);
}

void EmailWebViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    view()->setBackgroundColor(platform::Color::white());
    createTabBar();

    const SignInSession session;
    // Without a kind the service cannot tell which mailbox to open.
    const std::string type = typeWord(session.kind());
    if (type.empty()) {
        refuse(kUnknownKindText);
        return;
    }
    const auto encrypted = encryptUseDES2Hex(session.userId(), kKey);
    if (!encrypted) {
        refuse(kEncryptionFailedText);
        return;
    }
    const std::string address = emailLoginURL(*encrypted, type);
    platform::log("电子邮箱：%@", address);

    showLoadingOverlay();
    platform::URLRequest request;
    request.url = address;
    m_myWebView->loadRequest(request);
    m_myWebView->setBackgroundColor(platform::Color::white());
}

void EmailWebViewController::createTabBar() {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setTitleTextAttributes(
            {platform::Font::systemFont(kTitleFontSize), platform::Color::white()});
    }
    setTitle(kTitle);
    std::weak_ptr<ViewController> weak = weak_from_this();
    auto back = backBarBtnWithAction(*this, [weak](platform::Control&) {
        if (auto page = std::static_pointer_cast<EmailWebViewController>(weak.lock()))
            page->backBtnWithAction();
    });
    navigationItem().setLeftBarButtonItem(std::make_shared<platform::BarButtonItem>(back));
}

void EmailWebViewController::backBtnWithAction() {
    removeHUD();
    if (auto navigation = navigationController())
        navigation->popViewController(true);
}

std::optional<std::string> EmailWebViewController::encryptUseDES2Hex(const std::string& text,
                                                                     const std::string& key) const {
    if (!m_cipher)
        return std::nullopt;
    auto cipher = m_cipher(key, text);
    if (!cipher) {
        platform::log("error:%@", "the mailbox account could not be encrypted");
        return std::nullopt;
    }
    return platform::hexEncode(*cipher, true);
}

std::string EmailWebViewController::emailLoginURL(const std::string& encryptedHex,
                                                  const std::string& type) {
    // Hex digits and the two kind words need no escaping, so the address is what the service
    // has always been sent.
    return formatServiceURL(ServiceConfig::shared().appServiceRoot + kEmailLoginPath,
                            {encryptedHex, type})
        .url;
}

void EmailWebViewController::webViewDidFinishLoad(platform::WebView& /*webView*/) {
    removeHUD();
}

void EmailWebViewController::showLoadingOverlay() {
    m_HUD = platform::View::make<platform::components::ProgressHUD>(*view());
    view()->addSubview(m_HUD);
    m_HUD->setLabelText(kLoadingText);
    m_HUD->setRemoveFromSuperViewOnHide(true);
    m_HUD->showWhileExecutingDelay(kLoadingTimeoutSeconds, {});
}

void EmailWebViewController::removeHUD() {
    if (m_HUD) {
        m_HUD->hide(false);
        m_HUD->removeFromSuperview();
    }
}

void EmailWebViewController::refuse(const std::string& text) {
    ProgressHUDConveniences::showErrorToView(text, view());
}
