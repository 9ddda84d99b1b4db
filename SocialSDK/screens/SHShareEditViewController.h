#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/screens/SHSGridViewItemClickedDelegate.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "platform/ui/TextViewDelegate.h"
#include "platform/ui/ViewController.h"

class SHSocialControllerService;
namespace platform {
class Button;
class Label;
class TextView;
}  // namespace platform

// The screen on which the user writes one share to one platform and sends it.
class SHShareEditViewController : public platform::ViewController,
                                  public platform::TextViewDelegate,
                                  public SHSGridViewItemClickedDelegate {
public:
    explicit SHShareEditViewController(std::shared_ptr<SHSocialControllerService> service);

    void viewDidLoad() override;

    std::shared_ptr<SHSocialControllerService> socialControllerService;
    const std::shared_ptr<platform::TextView>& textView() const { return m_textView; }
    const std::shared_ptr<platform::Label>& countLabel() const { return m_countLabel; }
    bool holdsPicture() const { return m_holdsPicture; }

    void updateCountLabel();
    void textViewDidChange(platform::TextView&) override { updateCountLabel(); }
    // Whether the share may be sent; otherwise the alert's text.
    std::optional<std::string> validationError() const;
    bool checkAndAlert();
    void pressSend();
    // The user deletes the attachment.
    void deleteAttachment();

    // Mentions: the "@" button (shown on the platforms that take mentions) opens the friend
    // picker; the picked friend's mention is appended between spaces and counted.
    const std::shared_ptr<platform::Button>& atButton() const { return m_atButton; }
    void showFriendList();
    void itemClicked(const std::string& mention) override;

    // The toast text for a share's result on the platform (sub-codes of 510 by platform).
    static std::string resultToastText(const SHSocialResponseEntity& response,
                                       const std::string& platformName);
    // The result handler: toasts, and forgets an expired account.
    static void handleResult(const std::shared_ptr<SHSocialResponseEntity>& response,
                             const std::string& platformName);

private:
    std::string platformName() const;
    std::shared_ptr<platform::TextView> m_textView;
    std::shared_ptr<platform::Label> m_countLabel;
    bool m_holdsPicture = false;
    std::shared_ptr<platform::Button> m_atButton;
    std::shared_ptr<platform::ViewController> m_friendListViewController;
};
