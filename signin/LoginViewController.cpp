#include "signin/LoginViewController.h"

#include <vector>

#include "client/ActionReply.h"
#include "client/MyTool.h"
#include "client/NetError.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "client/SignInSession.h"
#include "components/hud/ProgressHUD.h"
#include "components/shaker/ViewShaker.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextField.h"
#include "signin/loginPopViewDelegeta.h"
#include "widgets/ProgressHUDConveniences.h"

using platform::Json;
using platform::Rect;

namespace {

// What the page says.
namespace text {
constexpr const char* kAccountPlaceholder = "账号";
constexpr const char* kPasswordPlaceholder = "密码";
constexpr const char* kLogin = "登录";
constexpr const char* kEnterAccount = "请输入账号";
constexpr const char* kEnterPassword = "请输入密码";
constexpr const char* kSigningIn = "登录中";
constexpr const char* kNetworkError = "网络错误";
}  // namespace text

namespace image {
constexpr const char* kBackground = "背景";
constexpr const char* kLogo = "岚苑登录页面logo";
constexpr const char* kClose = "登录页面关闭";
constexpr const char* kAccountIcon = "登录-账号";
constexpr const char* kPasswordIcon = "登录-密码";
constexpr const char* kMotto = "登录页面校训";
}  // namespace image

namespace color {
constexpr const char* kPlaceholder = "f1c2c1";
constexpr const char* kLoginButton = "eaab13";
}  // namespace color

// Handles the driver and the terminal front end name the controls by.
namespace handle {
constexpr const char* kAccount = "account";
constexpr const char* kPassword = "password";
constexpr const char* kLogin = "login";
constexpr const char* kClose = "close";
}  // namespace handle

constexpr double kShakeSeconds = 0.6;
constexpr double kPlaceholderFontSize = 18;
constexpr double kLoginButtonCornerRadius = 5;
constexpr float kFieldBackgroundAlpha = 0.3f;

// The page's geometry for a screen of W x H points.
struct LoginLayout {
    Rect background;
    Rect logo;
    Rect close;
    Rect account;
    Rect password;
    Rect login;
    Rect motto;

    // Inside each field's 50 x 50 left view.
    static constexpr Rect kLeftView{{0, 0}, {50, 50}};
    static constexpr Rect kIcon{{18, 14}, {130.0 / 7, 20}};
    static constexpr Rect kDivider{{49, 8}, {0.8, 34}};

    static LoginLayout forScreen(platform::Size screen) {
        const double W = screen.width;
        const double H = screen.height;
        LoginLayout l;
        l.background = {{0, 0}, {W, H}};
        // The narrow phone gets the logo at two thirds of its size, higher up.
        l.logo = W == 320 ? Rect{{W / 2 - 164.0 / 3, 60}, {328.0 / 3, 430.0 / 3}}
                          : Rect{{W / 2 - 82, 82}, {164, 215}};
        l.close = {{W - 47, 32}, {30, 30}};
        l.account = {{42, l.logo.maxY() + 26}, {W - 84, 50}};
        l.password = {{42, l.account.maxY() + 17}, {W - 84, 50}};
        l.login = {{42, l.password.maxY() + 17}, {W - 84, 50}};
        const double mottoGap = (W == 320 && H == 480) ? 26 : 36;
        l.motto = {{W / 2 - 120, H - 24 - mottoGap}, {240, 24}};
        return l;
    }
};

// The text to show for a refused or unreadable sign-in reply: the reply's "msg"."message" when
// it is text, otherwise nothing (the error icon alone).
std::string refusalMessage(const Json& reply) {
    return ActionReply::message(reply);
}

// The reply's "msg" object when the reply grants the sign-in, else null.
const Json* grantedMessage(const Json& reply) {
    if (!reply.is_object()) {
        return nullptr;
    }
    auto res = reply.find("res");
    if (res == reply.end() || !res->is_string() || res->get_ref<const std::string&>() != "true") {
        return nullptr;
    }
    auto msg = reply.find("msg");
    if (msg == reply.end() || !msg->is_object()) {
        return nullptr;
    }
    return &*msg;
}

std::string textValue(const Json& dict, const char* key) {
    auto found = dict.find(key);
    return found != dict.end() && found->is_string() ? found->get<std::string>() : std::string();
}

}  // namespace

LoginViewController::LoginViewController() {
    setModalTransitionStyle(platform::ModalTransitionStyle::CoverVertical);
}

LoginViewController::~LoginViewController() = default;

std::shared_ptr<::loginPopViewDelegeta> LoginViewController::loginPopViewDelegeta() const {
    return m_loginPopViewDelegeta.lock();
}

void LoginViewController::setLoginPopViewDelegeta(std::weak_ptr<::loginPopViewDelegeta> delegate) {
    m_loginPopViewDelegeta = std::move(delegate);
}

std::shared_ptr<LoginViewController> LoginViewController::self() {
    return std::static_pointer_cast<LoginViewController>(shared_from_this());
}

void LoginViewController::loadView() {
    auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    root->setBackgroundColor(platform::Color::white());
    setView(root);
}

void LoginViewController::viewDidLoad() {
    const auto layout = LoginLayout::forScreen(platform::Screen::main().size());
    std::weak_ptr<LoginViewController> weak = self();

    auto background = platform::View::make<platform::ImageView>(layout.background);
    background->setImage(platform::Image::named(image::kBackground));
    background->setUserInteractionEnabled(true);
    view()->addSubview(background);

    m_imageView1 = platform::View::make<platform::ImageView>(layout.logo);
    m_imageView1->setImage(platform::Image::named(image::kLogo));
    background->addSubview(m_imageView1);

    auto close = platform::View::make<platform::Button>(layout.close);
    close->setBackgroundImage(platform::Image::named(image::kClose));
    close->setHandle(handle::kClose);
    // It shows only its picture; a screen reader names it by its role.
    close->setAccessibilityLabel(handle::kClose);
    close->addTarget(
        [weak](platform::Control& sender) {
            if (auto page = weak.lock()) {
                page->BackButton(sender);
            }
        },
        platform::ControlEvent::TouchUpInside);
    background->addSubview(close);

    m_AccountTextField = makeField(layout.account, text::kAccountPlaceholder, image::kAccountIcon);
    m_AccountTextField->setHandle(handle::kAccount);
    background->addSubview(m_AccountTextField);

    m_passwordTextField =
        makeField(layout.password, text::kPasswordPlaceholder, image::kPasswordIcon);
    m_passwordTextField->setSecureTextEntry(true);
    m_passwordTextField->setHandle(handle::kPassword);
    background->addSubview(m_passwordTextField);

    m_shaker = std::make_unique<platform::components::ViewShaker>(
        std::vector<std::shared_ptr<platform::View>>{m_AccountTextField, m_passwordTextField});

    m_loginButton = platform::View::make<platform::Button>(layout.login);
    m_loginButton->setTitle(text::kLogin);
    m_loginButton->setTitleColor(platform::Color::white());
    m_loginButton->setHandle(handle::kLogin);
    m_loginButton->addTarget(
        [weak](platform::Control& sender) {
            if (auto page = weak.lock()) {
                page->loginButton(sender);
            }
        },
        platform::ControlEvent::TouchUpInside);
    background->addSubview(m_loginButton);

    auto motto = platform::View::make<platform::ImageView>(layout.motto);
    motto->setImage(platform::Image::named(image::kMotto));
    motto->setBackgroundColor(platform::Color::clear());
    background->addSubview(motto);

    constraint();
}

std::shared_ptr<platform::TextField> LoginViewController::makeField(const Rect& frame,
                                                                    const std::string& placeholder,
                                                                    const std::string& iconName) {
    auto field = platform::View::make<platform::TextField>(frame);
    field->setBackgroundColor(platform::Color::whiteAlpha(1, kFieldBackgroundAlpha));
    field->setTextColor(platform::Color::white());
    field->setReturnKeyType(platform::ReturnKeyType::Done);
    field->setDelegate(std::static_pointer_cast<platform::TextFieldDelegate>(self()));
    field->setPlaceholder(placeholder);
    field->setPlaceholderColor(MyTool::colorWithString(color::kPlaceholder));
    field->setPlaceholderFont(platform::Font::boldSystemFont(kPlaceholderFontSize));

    auto left = platform::View::make<platform::View>(LoginLayout::kLeftView);
    left->setBackgroundColor(platform::Color::clear());
    auto icon = platform::View::make<platform::ImageView>(LoginLayout::kIcon);
    icon->setImage(platform::Image::named(iconName));
    left->addSubview(icon);
    auto divider = platform::View::make<platform::View>(LoginLayout::kDivider);
    divider->setBackgroundColor(platform::Color::white());
    left->addSubview(divider);
    field->setLeftView(left);
    field->setLeftViewMode(platform::TextFieldViewMode::Always);
    return field;
}

void LoginViewController::constraint() {
    m_AccountTextField->setBorderStyle(platform::TextBorderStyle::RoundedRect);
    m_passwordTextField->setBorderStyle(platform::TextBorderStyle::RoundedRect);
    m_loginButton->setBackgroundColor(MyTool::colorWithString(color::kLoginButton));
    m_loginButton->setCornerRadius(kLoginButtonCornerRadius);
}

void LoginViewController::loginButton(platform::Control& /*sender*/) {
    // The blank test trims; the request sends the texts as typed.
    if (MyTool::strIsEmpty(m_AccountTextField->text())) {
        shakeThenShow(text::kEnterAccount);
        return;
    }
    if (MyTool::strIsEmpty(m_passwordTextField->text())) {
        shakeThenShow(text::kEnterPassword);
        return;
    }
    view()->endEditing(true);
    queryForServer();
}

void LoginViewController::shakeThenShow(const std::string& message) {
    std::weak_ptr<LoginViewController> weak = self();
    m_shaker->shakeWithDuration(kShakeSeconds, [weak, message] {
        if (auto page = weak.lock()) {
            page->showHUDWithStr(message);
        }
    });
}

void LoginViewController::queryForServer() {
    // Over the whole page, close button included, while the request is pending.
    auto host = view()->superview();
    if (!host) {
        host = view();
    }
    m_HUD = platform::components::ProgressHUD::showHUDAddedTo(*host, true);
    m_HUD->setLabelText(text::kSigningIn);
    m_HUD->setDelegate(std::static_pointer_cast<platform::components::ProgressHUDDelegate>(self()));

    const auto url = NetRequest::userLoginWithUserAccount(m_AccountTextField->text(),
                                                          m_passwordTextField->text());
    auto page = self();
    NetTool::shareInstance().postWithURL(
        url,
        [page](const Json& reply) {
            platform::log("登录：%@", reply);
            page->handleLoginReply(reply);
            page->hideHUD();
        },
        [page](const NetError& error) {
            platform::log("error:%@", describe(error));
            ProgressHUDConveniences::showError(text::kNetworkError);
            page->hideHUD();
        });
}

void LoginViewController::hideHUD() {
    if (m_HUD) {
        m_HUD->hide(true);
    }
}

void LoginViewController::handleLoginReply(const Json& reply) {
    // Anything but a granted sign-in with a "msg" object (a refusal, or a reply of another
    // shape) stores nothing and leaves the page open.
    const Json* msg = grantedMessage(reply);
    if (!msg) {
        ProgressHUDConveniences::showError(refusalMessage(reply));
        return;
    }

    // The session stores the user and tells the home grid once the user's kind is known.
    SignInSession().applySignIn(m_AccountTextField ? m_AccountTextField->text() : std::string(),
                                *msg);
    ProgressHUDConveniences::showSuccess(textValue(*msg, "message"));
    fetchUserInformation();
}

void LoginViewController::fetchUserInformation() {
    const auto url = NetRequest::getUserInfoWithUserID(m_AccountTextField->text());
    auto page = self();
    // A failed fetch leaves the user signed in with the page open; the toast says why.
    NetTool::shareInstance().getWithURL(
        url,
        [page](const Json& document) {
            if (!document.is_object()) {
                platform::log("error:%@", "user information is not an object: " + document.dump());
                page->reportFetchFailure();
                return;
            }
            SignInSession().storeUserInformation(document);
            page->dismissViewController(true);
        },
        [page](const NetError& error) {
            platform::log("error:%@", describe(error));
            page->reportFetchFailure();
        });
}

void LoginViewController::reportFetchFailure() {
    // The toast explains why the page stays open; once the user has closed it, there is
    // nothing left to explain.
    if (isViewLoaded() && view()->window())
        ProgressHUDConveniences::showError(text::kNetworkError);
}

void LoginViewController::showHUDWithStr(const std::string& text) {
    ProgressHUDConveniences::showHUDWithStr(view(), text);
}

void LoginViewController::BackButton(platform::Control& /*sender*/) {
    // Closing lets the presenter release the page; keep it for the rest of this call.
    auto page = self();
    if (m_isWebLogin) {
        // Without animation the page is gone before the opener leaves its own page.
        dismissViewController(false);
        if (auto delegate = m_loginPopViewDelegeta.lock()) {
            delegate->popViewController();
        }
    } else {
        dismissViewController(true);
    }
    view()->endEditing(true);
}

bool LoginViewController::textFieldShouldReturn(platform::TextField& field) {
    // The return key only hides the keyboard: it neither moves on nor signs in.
    field.resignFirstResponder();
    return true;
}

void LoginViewController::touchesBegan(const platform::Touches& /*touches*/) {
    view()->endEditing(true);
}
