#pragma once

#include <memory>
#include <string>

#include "platform/ui/TextViewDelegate.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Button;
class Control;
class Label;
class TextView;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// The feedback page: a free-text message sent to the app service in the signed-in user's
// name, titled "意见反馈". Pushed from the settings page, for signed-in users only.
//
// The text is sent exactly as typed (an empty text too); the reply's "res" says whether it was
// taken ("提交成功") or not ("提交失败"). A submission neither clears the text nor leaves the page.
class FeedbackViewController : public platform::ViewController, public platform::TextViewDelegate {
public:
    static constexpr const char* kTitle = "意见反馈";
    static constexpr const char* kPlaceholder = "欢迎在这儿发表宝贵意见哦~";
    static constexpr const char* kSubmitting = "正在提交...";
    static constexpr const char* kSubmitted = "提交成功";
    static constexpr const char* kNotSubmitted = "提交失败";
    // How long the submitting overlay stays at most when no reply comes.
    static constexpr double kSubmitTimeoutSeconds = 20;

    FeedbackViewController();
    ~FeedbackViewController() override;

    // --- Views (made when the view loads) ------------------------------------------------
    const std::shared_ptr<platform::TextView>& myTextView() const { return m_myTextView; }
    const std::shared_ptr<platform::Button>& submitButton() const { return m_submitButton; }
    // The placeholder inside the text view.
    const std::shared_ptr<platform::Label>& labelText() const { return m_labelText; }
    // The overlay of the last submission.
    const std::shared_ptr<platform::components::ProgressHUD>& HUD() const { return m_HUD; }

    // --- Operations ----------------------------------------------------------------------
    // The page's root view, text view and submit button, built in code in place of its
    // interface layout file.
    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    void createTabBar();
    void backBtnWithAction();
    // Sends the text under the overlay.
    void SubmitButton(platform::Control& sender);
    void getDataWithUserId(const std::string& userId, const std::string& title,
                           const std::string& contents);
    // A one-second text toast on the page's own view.
    void showHUDWithStr(const std::string& text);

    void touchesBegan(const platform::Touches& touches) override;

    // platform::TextViewDelegate: every change is allowed; the placeholder follows the text.
    bool shouldChangeTextInRange(platform::TextView& textView, platform::TextRange range,
                                 const std::string& replacement) override;
    void textViewDidChange(platform::TextView& textView) override;

private:
    std::shared_ptr<FeedbackViewController> self();
    void updatePlaceholder();
    void hideHUD();

    std::shared_ptr<platform::TextView> m_myTextView;
    std::shared_ptr<platform::Button> m_submitButton;
    std::shared_ptr<platform::Label> m_labelText;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
};
