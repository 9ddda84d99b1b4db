#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/base/SHSImageObject.h"
#include "SocialSDK/screens/SHSGridViewItemClickedDelegate.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "SocialSDK/service/SHSocialUrlResource.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/ActionSheetDelegate.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/TextViewDelegate.h"
#include "platform/ui/ViewController.h"

class SHSocialControllerService;
class SHShareEditMediaObserver;
class SHSocialImageView;
class SHSocialUIDelegate;
class SHShareEditViewController;
namespace platform {
class Button;
class ImageView;
class Label;
class ProgressView;
class TextView;
class Timer;
class View;
}  // namespace platform

// Takes over sending from the edit screen when the host answers it.
class SHShareEditControllerDelegate {
public:
    virtual ~SHShareEditControllerDelegate() = default;
    virtual void clickShareButton(const std::string& text, const SHSImageObject& image,
                                  SHShareEditViewController& controller) = 0;
};

// The screen on which the user writes one share to one platform and sends it: the text, the
// attached picture or media link (deletable), the characters left, the follow offer, and in the
// keyboard's place a panel with the platform account and a switch-account button; "@" mentions
// a friend picked in the friend picker.
class SHShareEditViewController : public platform::ViewController,
                                  public platform::TextViewDelegate,
                                  public platform::ActionSheetDelegate,
                                  public platform::AlertViewDelegate,
                                  public SHSGridViewItemClickedDelegate {
public:
    // Follow-button tags, and the delete button's tag for a picture.
    static constexpr int kFollowOn = 101;
    static constexpr int kFollowOff = 100;
    static constexpr int kPictureDeleteTag = 103;
    // Action-sheet tags: the picture's, and 10 + type for a media link's.
    static constexpr int kPictureSheetTag = 0;
    static constexpr int kMediaSheetTagBase = 10;
    // The account panel's two grey halves.
    static constexpr int kLeftHalfTag = 101;
    static constexpr int kRightHalfTag = 102;

    // The layout files: the phone's, and the tablet's (the account panel and the layout over
    // the keyboard are the phone's alone).
    static constexpr const char* kPhoneLayout = "SHShareEditViewController";
    static constexpr const char* kPadLayout = "SHShareEditViewControlleriPad";

    explicit SHShareEditViewController(std::shared_ptr<SHSocialControllerService> service,
                                       std::string layoutName = kPhoneLayout);
    ~SHShareEditViewController() override;
    const std::string& layoutName() const { return m_layoutName; }

    void viewDidLoad() override;
    // On a tablet the sheet the screen is presented in takes the configured size.
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void readyForAppear();

    std::shared_ptr<SHSocialControllerService> socialControllerService;
    std::weak_ptr<SHSocialUIDelegate> socialUIDelegate;
    std::weak_ptr<SHShareEditControllerDelegate> shareDelegate;
    // The share's media link, as the subject's bar entity gave it at load.
    std::shared_ptr<SHSocialUrlResource> urlResource;
    // The share picture's data when it came as data.
    std::optional<platform::Bytes> mediaContext;

    const std::shared_ptr<platform::TextView>& textView() const { return m_textView; }
    const std::shared_ptr<platform::Label>& countLabel() const { return m_countLabel; }
    const std::shared_ptr<platform::View>& toolBarView() const { return m_toolBarView; }
    // The picture view while the screen holds it (null once the attachment is deleted); with
    // nothing attached at load it is held off the screen.
    const std::shared_ptr<platform::ImageView>& shareImageButton() const {
        return m_shareImageButton;
    }
    const std::shared_ptr<platform::Button>& deleteImageButton() const {
        return m_deleteImageButton;
    }
    const std::shared_ptr<platform::Button>& followButton() const { return m_followButton; }
    const std::shared_ptr<platform::Label>& followLabel() const { return m_followLabel; }
    const std::shared_ptr<platform::Button>& changeAccountButton() const {
        return m_changeAccountButton;
    }
    const std::shared_ptr<platform::View>& changeAccountBackgroundView() const {
        return m_changeAccountBackgroundView;
    }
    const std::shared_ptr<platform::View>& changeAccountView() const { return m_changeAccountView; }
    const std::shared_ptr<SHSocialImageView>& profileImageView() const {
        return m_profileImageView;
    }
    const std::shared_ptr<platform::Label>& snsNameLabel() const { return m_snsNameLabel; }
    const std::shared_ptr<platform::ProgressView>& progressView() const { return m_progressView; }
    double keyboardHeight() const { return m_keyboardHeight; }
    // Whether the screen still holds its picture view (an attachment it may send).
    bool holdsPicture() const { return m_shareImageButton != nullptr; }

    // --- Counter and validation ----------------------------------------------------------
    void updateCountLabel();
    void textViewDidChange(platform::TextView&) override { updateCountLabel(); }
    // Whether the share may be sent; otherwise the alert's text.
    std::optional<std::string> validationError() const;
    bool checkAndAlert();

    // Mentions: the "@" button (shown on the platforms that take mentions) opens the friend
    // picker; the picked friend's mention is appended between spaces and counted.
    const std::shared_ptr<platform::Button>& atButton() const { return m_atButton; }
    void showFriendList();
    void itemClicked(const std::string& mention) override;

    // --- Sending -------------------------------------------------------------------------
    void pressSend();
    void postSnsContent();
    // The synchronous share's progress bar, one tick of its 0.1-second timer.
    void updateProgress();
    // The toast text for a share's result on the platform (sub-codes of 510 by platform).
    static std::string resultToastText(const SHSocialResponseEntity& response,
                                       const std::string& platformName);
    // The toasts of a result, forgetting an expired account.
    static void handleResult(const std::shared_ptr<SHSocialResponseEntity>& response,
                             const std::string& platformName);

    // --- Attachment ----------------------------------------------------------------------
    // Offer to delete the picture, or the media link.
    void selectImage();
    void selectUrlResource();
    void clickedButtonAtIndex(platform::ActionSheet& sheet, int index) override;
    // An alert that names this screen its delegate (the screen's own alerts have none): one
    // tagged 5027 (authorisation expired) whose button 1 is tapped signs in again on the
    // sign-in page pushed here; 5016 (text repeated) changes nothing; any other closes.
    void clickedButtonAtIndex(platform::AlertView& alert, int index) override;
    static constexpr int kAuthExpiredAlertTag = 5027;
    static constexpr int kTextRepeatedAlertTag = 5016;
    // The sheet's destructive choice: the attachment goes and counts as none.
    void deleteAttachment();
    // The most recently shown delete sheet, while it shows.
    std::shared_ptr<platform::ActionSheet> deleteSheet() const;

    // --- Following, account panel, keyboard -----------------------------------------------
    void addFollow();
    void addUserInfo();
    // Lowers the keyboard to show the account panel, or raises it again.
    void changeAccount();
    // Signs in to the platform with another account.
    void oauthToSns();
    void keyboardWillShow(const platform::Notification& notification);

    // --- Rotation ------------------------------------------------------------------------
    // The settings decide; before turning the keyboard comes up, so that the layout over it
    // follows in the new orientation.
    bool shouldAutorotateToInterfaceOrientation(
        platform::InterfaceOrientation orientation) override;
    void willRotateToInterfaceOrientation(platform::InterfaceOrientation to,
                                          double duration) override;

    // Removes every percent escape (UTF-8).
    static std::string URLDecodedString(const std::string& text);

private:
    friend class SHShareEditMediaObserver;
    std::string platformName() const;
    std::shared_ptr<SHShareEditViewController> self();
    void buildViews();
    // How the layout files resize their views with the screen
    // (SHShareEditViewControllerRotation.cpp).
    void applyPhoneResizing();
    void applyPadLayout();
    void loadAttachment();
    void showMediaPicture(const SHSocialUrlResource& resource);
    void mediaPictureArrived(const platform::Image& image);
    void offerFollow();
    void layoutOverKeyboard();
    void showAccount();
    void stopProgressTimer();
    // The media link goes with the share (not the picture) when it has a type and an address
    // and the platform's own share data carries no picture.
    bool sendsMediaLink() const;

    std::shared_ptr<platform::TextView> m_textView;
    std::shared_ptr<platform::View> m_toolBarView;
    std::shared_ptr<platform::ImageView> m_toolViewBackgroundImage;
    std::shared_ptr<platform::Label> m_countLabel;
    std::shared_ptr<platform::Button> m_atButton;
    std::shared_ptr<platform::ViewController> m_friendListViewController;
    std::shared_ptr<platform::Button> m_changeAccountButton;
    std::shared_ptr<platform::View> m_changeAccountBackgroundView;
    std::shared_ptr<platform::View> m_changeAccountView;
    std::shared_ptr<platform::Button> m_followButton;
    std::shared_ptr<platform::Label> m_followLabel;
    std::shared_ptr<platform::ImageView> m_shareImageButton;
    std::shared_ptr<platform::Button> m_deleteImageButton;
    std::shared_ptr<platform::ProgressView> m_progressView;
    std::shared_ptr<SHSocialImageView> m_profileImageView;
    std::shared_ptr<platform::Label> m_snsNameLabel;
    // The media link's picture view while its picture is on the way.
    std::shared_ptr<SHSocialImageView> m_mediaImageView;
    std::shared_ptr<SHShareEditMediaObserver> m_mediaObserver;
    std::weak_ptr<platform::ActionSheet> m_sheet;
    std::shared_ptr<platform::Timer> m_progressTimer;
    float m_timerDuration = 0;
    int m_progressTicks = 0;
    std::string m_layoutName;
    double m_keyboardHeight = 0;
    // The keyboard's end frame as last announced.
    platform::Rect m_keyboardEnd;
    platform::NotificationCenter::ObserverId m_keyboardObserver = 0;
    platform::NotificationCenter::ObserverId m_keyboardHideObserver = 0;
};
