#pragma once

#include <memory>
#include <string>

#include "components/hud/ProgressHUDDelegate.h"
#include "platform/foundation/Json.h"
#include "platform/ui/TextFieldDelegate.h"
#include "platform/ui/ViewController.h"

class loginPopViewDelegeta;

namespace platform {
class Button;
class Control;
class ImageView;
class TextField;
namespace components {
class ProgressHUD;
class ViewShaker;
}  // namespace components
}  // namespace platform

// The modal page on which a teacher or student signs in with a campus account and password.
// A successful sign-in stores the sign-in state, fetches and stores the user-information
// document, posts "LoginSuccess" and closes. Opened by a web page (web-sign-in mode), backing
// out also tells the opener to leave its page.
//
// Present it with the cover-vertical transition. Its requests keep the page alive until their
// replies have been handled.
class LoginViewController : public platform::ViewController,
                            public platform::TextFieldDelegate,
                            public platform::components::ProgressHUDDelegate {
public:
    LoginViewController();
    ~LoginViewController() override;

    // --- Set by the opener before presenting ---------------------------------------------
    bool isWebLogin() const { return m_isWebLogin; }
    void setIsWebLogin(bool isWebLogin) { m_isWebLogin = isWebLogin; }
    std::shared_ptr<::loginPopViewDelegeta> loginPopViewDelegeta() const;
    void setLoginPopViewDelegeta(std::weak_ptr<::loginPopViewDelegeta> delegate);

    // --- Views (made when the view loads) ------------------------------------------------
    const std::shared_ptr<platform::ImageView>& imageView1() const { return m_imageView1; }
    const std::shared_ptr<platform::TextField>& AccountTextField() const {
        return m_AccountTextField;
    }
    const std::shared_ptr<platform::TextField>& passwordTextField() const {
        return m_passwordTextField;
    }
    const std::shared_ptr<platform::Button>& loginButton() const { return m_loginButton; }
    // The progress overlay of the last sign-in request.
    const std::shared_ptr<platform::components::ProgressHUD>& HUD() const { return m_HUD; }

    // --- Operations ----------------------------------------------------------------------
    // The page's root view, built in code in place of its interface layout file.
    void loadView() override;
    void viewDidLoad() override;
    // The fields' border and the sign-in button's look.
    void constraint();
    // The sign-in button: blank fields shake and say what is missing; otherwise signs in.
    void loginButton(platform::Control& sender);
    // Sends the account and password and handles the reply.
    void queryForServer();
    // A one-second text toast on the page's own view.
    void showHUDWithStr(const std::string& text);
    // The close button.
    void BackButton(platform::Control& sender);

    bool textFieldShouldReturn(platform::TextField& field) override;
    void touchesBegan(const platform::Touches& touches) override;

private:
    void reportFetchFailure();
    std::shared_ptr<LoginViewController> self();
    std::shared_ptr<platform::TextField> makeField(const platform::Rect& frame,
                                                   const std::string& placeholder,
                                                   const std::string& iconName);
    void shakeThenShow(const std::string& message);
    void handleLoginReply(const platform::Json& reply);
    void fetchUserInformation();
    void hideHUD();

    std::shared_ptr<platform::ImageView> m_imageView1;
    std::shared_ptr<platform::TextField> m_AccountTextField;
    std::shared_ptr<platform::TextField> m_passwordTextField;
    std::shared_ptr<platform::Button> m_loginButton;
    std::unique_ptr<platform::components::ViewShaker> m_shaker;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
    bool m_isWebLogin{false};
    std::weak_ptr<::loginPopViewDelegeta> m_loginPopViewDelegeta;
};
