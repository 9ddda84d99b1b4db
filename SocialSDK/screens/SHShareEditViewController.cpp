// The edit screen's construction, loading, life cycle and layout over the keyboard; sending is
// in SHShareEditViewControllerSend.cpp, the attachment, follow offer and account panel in
// SHShareEditViewControllerPanel.cpp.
#include "SocialSDK/screens/SHShareEditViewController.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "SocialSDK/screens/SHSPadBounds.h"
#include "SocialSDK/screens/SHShareEditCounter.h"
#include "SocialSDK/screens/SHShareEditLayout.h"
#include "SocialSDK/screens/SHSocialFriendViewController.h"
#include "SocialSDK/service/SHSBarEntity.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialImageLoader.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialUIHelper.h"
#include "platform/foundation/URLEscaping.h"
#include "platform/graphics/Font.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"

namespace {

const std::string kButtons = "SHSocialSDKResourcesNew.bundle/Buttons/";

bool onPhone() {
    return platform::Application::shared().userInterfaceIdiom() ==
           platform::UserInterfaceIdiom::Phone;
}

// A rect read from a keyboard notification's [x, y, w, h]; empty when it is not one.
platform::Rect rectOf(const platform::Json& info, const char* key) {
    if (!info.is_object() || !info.contains(key))
        return {};
    const auto& value = info[key];
    if (!value.is_array() || value.size() != 4)
        return {};
    for (const auto& number : value)
        if (!number.is_number())
            return {};
    return {{value[0].get<double>(), value[1].get<double>()},
            {value[2].get<double>(), value[3].get<double>()}};
}

}  // namespace

SHShareEditViewController::SHShareEditViewController(
    std::shared_ptr<SHSocialControllerService> service, std::string layoutName)
    : socialControllerService(std::move(service)), m_layoutName(std::move(layoutName)) {}

SHShareEditViewController::~SHShareEditViewController() {
    // A synchronous share's timer must not tick for a screen that has gone.
    if (m_progressTimer)
        m_progressTimer->invalidate();
    for (auto observer : {m_keyboardObserver, m_keyboardHideObserver})
        if (observer)
            platform::NotificationCenter::defaultCenter().removeObserver(observer);
}

std::shared_ptr<SHShareEditViewController> SHShareEditViewController::self() {
    return std::static_pointer_cast<SHShareEditViewController>(shared_from_this());
}

std::string SHShareEditViewController::platformName() const {
    return socialControllerService && socialControllerService->currentSnsPlatformName
               ? *socialControllerService->currentSnsPlatformName
               : std::string();
}

void SHShareEditViewController::buildViews() {
    using namespace SHShareEditLayout;
    const auto& root = view();
    root->setBackgroundColor(platform::Color::white());
    const auto size = root->bounds().size;
    const double keyboard = platform::Keyboard::kHeight;

    m_textView = std::make_shared<platform::TextView>(platform::Rect{
        {0, 0}, {size.width - kPictureColumn, size.height - keyboard - kToolBarHeight}});
    m_textView->setFont(platform::Font::systemFont(16));
    m_textView->setHandle("shareText");
    m_textView->setDelegate(self());
    root->addSubview(m_textView);

    // The picture column right of the text.
    m_shareImageButton = std::make_shared<platform::ImageView>(platform::Rect{
        {size.width - kPictureColumn + (kPictureColumn - kPictureSide) / 2, kPictureTop},
        {kPictureSide, kPictureSide}});
    m_shareImageButton->setContentMode(platform::ContentMode::ScaleAspectFill);
    m_shareImageButton->setClipsToBounds(true);
    m_shareImageButton->setBorderWidth(1);
    m_shareImageButton->setBorderColor(platform::Color::whiteAlpha(0.85f, 1));
    m_shareImageButton->setHandle("sharePicture");
    root->addSubview(m_shareImageButton);
    const auto picture = m_shareImageButton->frame();
    m_deleteImageButton = std::make_shared<platform::Button>(
        platform::Rect{{picture.maxX() - kDeleteSide / 2 - 2, picture.minY() - kDeleteSide / 2 + 2},
                       {kDeleteSide, kDeleteSide}});
    m_deleteImageButton->setTitle("×");
    m_deleteImageButton->setTitleColor(platform::Color::white());
    m_deleteImageButton->setBackgroundColor(platform::Color::whiteAlpha(0.35f, 1));
    m_deleteImageButton->setCornerRadius(kDeleteSide / 2);
    m_deleteImageButton->setHandle("shareDelete");
    root->addSubview(m_deleteImageButton);

    // The bar above the keyboard: "@", change-account button, follow offer, counter. The layout
    // over the keyboard gives it its width; until then it has none, which is how readyForAppear
    // knows that the layout has not happened yet.
    m_toolBarView = std::make_shared<platform::View>(
        platform::Rect{{0, size.height - keyboard - kToolBarHeight}, {0, kToolBarHeight}});
    m_toolViewBackgroundImage =
        std::make_shared<platform::ImageView>(platform::Rect{{0, 0}, {size.width, kToolBarHeight}});
    m_toolBarView->addSubview(m_toolViewBackgroundImage);
    m_atButton = std::make_shared<platform::Button>(kAtButtonFrame);
    m_atButton->setHandle("shareAt");
    m_toolBarView->addSubview(m_atButton);
    m_changeAccountButton = std::make_shared<platform::Button>(kChangeAccountButtonFrame);
    m_changeAccountButton->setHandle("shareAccount");
    m_toolBarView->addSubview(m_changeAccountButton);
    m_followButton = std::make_shared<platform::Button>(kFollowButtonFrame);
    m_followButton->setHandle("shareFollow");
    m_followButton->setHidden(true);
    m_toolBarView->addSubview(m_followButton);
    m_followLabel = std::make_shared<platform::Label>(kFollowLabelFrame);
    m_followLabel->setFont(platform::Font::systemFont(13));
    m_followLabel->setTextColor(platform::Color::whiteAlpha(0.3f, 1));
    m_followLabel->setHidden(true);
    m_toolBarView->addSubview(m_followLabel);
    auto count = kCountFrame;
    count.origin.x = size.width - kCountInset;
    m_countLabel = std::make_shared<platform::Label>(count);
    m_countLabel->setFont(platform::Font::systemFont(14));
    m_countLabel->setTextColor(platform::Color::whiteAlpha(0.4f, 1));
    m_countLabel->setHandle("shareCount");
    m_toolBarView->addSubview(m_countLabel);
    root->addSubview(m_toolBarView);

    // The account panel in the keyboard's place.
    m_changeAccountBackgroundView = std::make_shared<platform::ImageView>(
        platform::Rect{{0, size.height - keyboard}, {size.width, keyboard}});
    m_changeAccountBackgroundView->setHandle("shareAccountPanel");
    // An image view, which takes no touches unless told: the switch-account button is on it.
    m_changeAccountBackgroundView->setUserInteractionEnabled(true);
    m_changeAccountView = std::make_shared<platform::View>(
        platform::Rect{{0, 0}, {kAccountViewWidth, keyboard - kAccountViewInset}});
    root->addSubview(m_changeAccountBackgroundView);
    if (m_layoutName == kPadLayout)
        applyPadLayout();
    else
        applyPhoneResizing();
}

void SHShareEditViewController::viewDidLoad() {
    buildViews();
    const auto name = platformName();
    auto weakSelf = std::weak_ptr<SHShareEditViewController>(self());

    // 1. The SDK's bar, the keyboard up, the close button.
    if (auto navigation = navigationController())
        SHSocialUIHelper::customNavBar(navigation->navigationBar());
    m_textView->becomeFirstResponder();
    if (socialControllerService)
        socialControllerService->addCloseButton(*this);

    // 2. Counter and title.
    m_countLabel->setText(std::to_string(SHShareEditCounter::kLimit));
    auto platform = SHSocialSnsPlatformManager::getSocialPlatformWithName(name);
    setTitle(SHSocialLocalizedString("shareEdit_title", "分享至") +
             (platform && platform->displayName ? *platform->displayName : name));

    // 3. The share in hand, as the platform sees it.
    auto bar = SHSDataManager::currentDataManager()->barEntity();
    if (bar) {
        if (auto text = bar->shareTextFor(name))
            m_textView->setText(*text);
        urlResource = bar->urlResourceFor(name);
    }

    // 4. Follow offer, 5. the navigation item's look.
    offerFollow();
    SHSocialUIHelper::customNavigationItem(navigationItem());
    auto& config = SHSocialConfigInternal::shareInstance();
    {
        auto navigation = navigationController();
        config.configureNavigationBar(navigation ? navigation->navigationBar() : nullptr, nullptr,
                                      nullptr, nullptr, nullptr, &navigationItem());
    }

    // 6. Attachment.
    loadAttachment();

    // 7. Counter, tool bar, change-account button, progress bar.
    updateCountLabel();
    m_toolViewBackgroundImage->setImage(
        platform::Image::named(kButtons + "SHS_comment_bar_background"));
    m_atButton->setImage(platform::Image::named(kButtons + "SHS_ruzar_share_at"));
    m_atButton->setImage(platform::Image::named(kButtons + "SHS_ruzar_share_atSel"),
                         platform::ControlState::Highlighted);
    if (m_atButton->image().isNull()) {
        m_atButton->setTitle("@");
        m_atButton->setTitleColor(platform::Color::whiteAlpha(0.4f, 1));
    }
    m_atButton->addTarget(
        [weakSelf](platform::Control&) {
            if (auto self = weakSelf.lock())
                self->showFriendList();
        },
        platform::ControlEvent::TouchUpInside);
    m_changeAccountButton->setImage(platform::Image::named(kButtons + "SHS_share_change_account"));
    m_changeAccountButton->setImage(
        platform::Image::named(kButtons + "SHS_share_change_account_tap"),
        platform::ControlState::Highlighted);
    m_changeAccountButton->addTarget(
        [weakSelf](platform::Control&) {
            if (auto self = weakSelf.lock())
                self->changeAccount();
        },
        platform::ControlEvent::TouchUpInside);
    m_followButton->addTarget(
        [weakSelf](platform::Control&) {
            if (auto self = weakSelf.lock())
                self->addFollow();
        },
        platform::ControlEvent::TouchUpInside);
    m_progressView = std::make_shared<platform::ProgressView>(platform::ProgressViewStyle::Bar);
    m_progressView->setFrame({{0, 0}, {160, platform::ProgressView::kHeight}});

    // 8. Text changes come through the delegate; the keyboard through its notification.
    readyForAppear();

    // 9. The post button; the screen is held weakly so that a tap after it is gone does
    // nothing.
    auto post = platform::View::make<platform::Button>(platform::ButtonType::Custom);
    SHSocialUIHelper::customNavPostButton(*post);
    config.configureNavigationBar(nullptr, nullptr, nullptr, post, nullptr, nullptr);
    post->setHandle("share-post");
    post->addTarget(
        [weakSelf](platform::Control&) {
            if (auto self = weakSelf.lock())
                self->pressSend();
        },
        platform::ControlEvent::TouchUpInside);
    navigationItem().setRightBarButtonItem(std::make_shared<platform::BarButtonItem>(post));

    // 10. Mentions only where the platform takes them.
    m_atButton->setHidden(name != "sina" && name != "tencent" && name != "renren" &&
                          name != "douban");

    // 11. The account panel.
    addUserInfo();
}

void SHShareEditViewController::viewWillAppear(bool animated) {
    platform::ViewController::viewWillAppear(animated);
    if (SHSPadBounds::onPad())
        SHSPadBounds::apply(*this, false);
    if (auto delegate = socialUIDelegate.lock(); delegate && socialControllerService)
        socialControllerService->setSocialUIDelegate(delegate);
}

void SHShareEditViewController::viewDidAppear(bool animated) {
    platform::ViewController::viewDidAppear(animated);
    readyForAppear();
    // The interface's (the device's) version decides the layout, not the host system's that
    // the SDK's osVersionString reports to the share service: only the device's says how the
    // screen and keyboard are laid out.
    if (onPhone() && platform::Application::shared().systemVersionNumber() >= 7.0)
        layoutOverKeyboard();
}

void SHShareEditViewController::readyForAppear() {
    auto& center = platform::NotificationCenter::defaultCenter();
    if (m_keyboardObserver)
        center.removeObserver(m_keyboardObserver);
    std::weak_ptr<SHShareEditViewController> weakSelf = self();
    m_keyboardObserver = center.addObserver(weakSelf, "UIKeyboardWillShowNotification",
                                            [weakSelf](const platform::Notification& n) {
                                                if (auto self = weakSelf.lock())
                                                    self->keyboardWillShow(n);
                                            });
    if (m_keyboardHideObserver)
        center.removeObserver(m_keyboardHideObserver);
    m_keyboardHideObserver = center.addObserver(
        weakSelf, "UIKeyboardWillHideNotification", [weakSelf](const platform::Notification&) {
            // The panel is the phone's alone.
            if (auto self = weakSelf.lock(); self && onPhone())
                self->m_changeAccountBackgroundView->setHidden(false);
        });
    // A tool bar off the middle of the view has not been laid out over the keyboard for the
    // view as it is now (never yet, or the view changed its width while another screen
    // showed): the keyboard comes up, and its layout follows. The tablet's screen is never laid
    // out over the keyboard (its tool bar stays at the sheet's foot), so there the keyboard
    // always comes up.
    if (!onPhone() || m_toolBarView->center().x != view()->frame().width() / 2)
        m_textView->becomeFirstResponder();
}

void SHShareEditViewController::viewWillDisappear(bool animated) {
    platform::ViewController::viewWillDisappear(animated);
    if (auto navigation = navigationController())
        SHSocialUIHelper::setNavigationBarTranslucent(navigation->navigationBar());
    // Only the keyboard's showing is no longer followed. Its hiding still is: the keyboard goes
    // down while another screen (the friend picker) covers this one, and the account panel must
    // stand in its place when this screen comes back.
    if (m_keyboardObserver)
        platform::NotificationCenter::defaultCenter().removeObserver(m_keyboardObserver);
    m_keyboardObserver = 0;
}

void SHShareEditViewController::keyboardWillShow(const platform::Notification& notification) {
    if (!onPhone() || !isViewLoaded())
        return;
    m_keyboardEnd = rectOf(notification.userInfo, "UIKeyboardFrameEndUserInfoKey");
    m_keyboardHeight = m_keyboardEnd.height();
    layoutOverKeyboard();
    // The keyboard covers the account panel until it goes down again; hidden, the panel takes
    // no taps through the keyboard drawn over it.
    m_changeAccountBackgroundView->setHidden(true);
}

// The tool bar right above the keyboard, the text above it, and the account panel in the
// keyboard's place, from the keyboard's frame as last announced; upside down or in landscape
// that frame is read as the interface's version reports it (before version 8 it stays in
// portrait coordinates, its width being the keyboard's height).
void SHShareEditViewController::layoutOverKeyboard() {
    using namespace SHShareEditLayout;
    const auto bounds = view()->bounds();
    const auto orientation = platform::Application::shared().statusBarOrientation();
    const auto keyboardEnd = m_keyboardEnd.height() > 0
                                 ? m_keyboardEnd
                                 : platform::Rect{{0, 0}, {bounds.width(), m_keyboardHeight}};
    const auto layout =
        keyboardLayout(platform::Screen::main().applicationFrame(), bounds.size, keyboardEnd,
                       orientation != platform::InterfaceOrientation::Portrait,
                       platform::Application::shared().systemVersionNumber(),
                       m_textView->frame().width(), m_changeAccountView->frame().width());
    m_keyboardHeight = layout.keyboardHeight;
    m_toolBarView->setFrame({{0, 0}, layout.toolBarSize});
    m_toolBarView->setCenter(layout.toolBarCenter);
    m_toolViewBackgroundImage->setFrame({{0, 0}, layout.toolBarSize});
    auto count = m_countLabel->frame();
    count.origin.x = layout.countX;
    m_countLabel->setFrame(count);
    m_textView->setFrame(layout.textViewFrame);
    m_changeAccountBackgroundView->setFrame(layout.backgroundFrame);
    m_changeAccountView->setFrame({{0, 0}, layout.accountViewSize});
    m_changeAccountView->setCenter(layout.accountViewCenter);
    if (auto left = m_changeAccountBackgroundView->viewWithTag(kLeftHalfTag))
        left->setCenter(layout.leftHalfCenter);
    if (auto right = m_changeAccountBackgroundView->viewWithTag(kRightHalfTag))
        right->setCenter(layout.rightHalfCenter);
}

void SHShareEditViewController::showFriendList() {
    m_friendListViewController.reset();
    if (!socialControllerService)
        return;
    auto picker = socialControllerService->getSocialViewController(SHSViewControllerFriend);
    if (auto friends = std::dynamic_pointer_cast<SHSocialFriendViewController>(picker))
        friends->shsDelegate =
            std::static_pointer_cast<SHShareEditViewController>(shared_from_this());
    m_friendListViewController = picker;
    if (auto navigation = navigationController(); picker && navigation)
        navigation->pushViewController(picker, true);
}

void SHShareEditViewController::itemClicked(const std::string& mention) {
    if (!m_textView)
        return;
    m_textView->setText(m_textView->text() + " " + mention + " ");
    updateCountLabel();
}

void SHShareEditViewController::updateCountLabel() {
    if (!m_countLabel || !m_textView)
        return;
    // Only a picture still on screen counts on "twitter".
    const bool showsPicture = m_shareImageButton && !m_shareImageButton->image().isNull();
    m_countLabel->setText(
        SHShareEditCounter::counterText(m_textView->text(), platformName(), showsPicture));
}

std::optional<std::string> SHShareEditViewController::validationError() const {
    std::string text = m_textView ? m_textView->text() : std::string();
    // White space of every kind, the ideographic space a Chinese keyboard types included.
    const auto unicode = icu::UnicodeString::fromUTF8(text);
    bool blank = true;
    for (int32_t i = 0; i < unicode.length() && blank; i = unicode.moveIndex32(i, 1))
        blank = u_isUWhiteSpace(unicode.char32At(i));
    if (blank && !holdsPicture())
        return SHSocialLocalizedString("shareEdit_error_not_empty", "分享内容为空");
    const bool showsPicture = m_shareImageButton && !m_shareImageButton->image().isNull();
    auto left = SHShareEditCounter::charactersLeft(text, platformName(), showsPicture);
    if (left && *left < 0)
        return SHSocialLocalizedString("shareEdit_error_too_long", "分享内容超过长度限制");
    return std::nullopt;
}

bool SHShareEditViewController::checkAndAlert() {
    auto error = validationError();
    if (!error)
        return true;
    auto alert = std::make_shared<platform::AlertView>(
        "", *error, std::weak_ptr<platform::AlertViewDelegate>(),
        SHSocialLocalizedString("button_ok", "好"), std::vector<std::string>{});
    alert->show();
    return false;
}

std::string SHShareEditViewController::URLDecodedString(const std::string& text) {
    return platform::urlDecodedString(text);
}
