// The edit screen's attachment (picture or media link, and its delete sheet), its follow offer
// and the account panel in the keyboard's place.
#include <map>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/screens/SHShareEditLayout.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/service/SHSBarEntity.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialImageLoader.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Font.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextView.h"

namespace {

const std::string kButtons = "SHSocialSDKResourcesNew.bundle/Buttons/";

platform::Image buttonImage(const std::string& name) {
    return platform::Image::named(kButtons + name);
}

// The platform's own share data, as the subject's extras hold it.
std::shared_ptr<SHSocialSnsData> platformShareData(const std::string& name) {
    auto config = SHSocialData::defaultData()->extConfig();
    if (!config)
        return nullptr;
    auto found = config->snsDataDictionary.find(name);
    return found == config->snsDataDictionary.end() ? nullptr : found->second;
}

std::string followKey(const std::string& name) {
    return "SHSocial_Follow_" + name;
}

std::shared_ptr<SHSocialAccountEntity> accountOf(const std::string& name) {
    auto accounts = SHSocialAccountManager::socialAccountDictionary();
    auto found = accounts.find(name);
    return found == accounts.end() ? nullptr : found->second;
}

// White centred text on the panel's grey.
std::shared_ptr<platform::Label> panelLabel(const platform::Rect& frame) {
    auto label = std::make_shared<platform::Label>(frame);
    label->setTextColor(platform::Color::white());
    label->setTextAlignment(platform::TextAlignment::Center);
    label->setFont(platform::Font::systemFont(13));
    label->setBackgroundColor(platform::Color::clear());
    return label;
}

}  // namespace

// Hears the media link's picture view for the screen, which it does not keep alive.
class SHShareEditMediaObserver : public SHImageViewDelegate {
public:
    explicit SHShareEditMediaObserver(std::weak_ptr<SHShareEditViewController> screen)
        : m_screen(std::move(screen)) {}
    void imageViewLoadedImage(SHSocialImageView& view) override {
        if (auto screen = m_screen.lock())
            screen->mediaPictureArrived(view.image());
    }
    void imageViewFailedToLoadImage(SHSocialImageView&, const SHSocialImageError&) override {
        if (auto screen = m_screen.lock())
            screen->mediaPictureArrived(platform::Image{});
    }

private:
    std::weak_ptr<SHShareEditViewController> m_screen;
};

bool SHShareEditViewController::sendsMediaLink() const {
    if (!urlResource || urlResource->resourceType == 0 || !urlResource->url)
        return false;
    auto data = platformShareData(platformName());
    return !(data && SHSImageObjectIsSet(data->shareImage));
}

void SHShareEditViewController::loadAttachment() {
    const auto name = platformName();
    std::weak_ptr<SHShareEditViewController> weakSelf = self();
    auto bar = SHSDataManager::currentDataManager()->barEntity();
    const SHSImageObject image = bar ? bar->shareImageFor(name) : SHSImageObject{};
    if (sendsMediaLink()) {
        m_deleteImageButton->addTarget(
            [weakSelf](platform::Control&) {
                if (auto self = weakSelf.lock())
                    self->selectUrlResource();
            },
            platform::ControlEvent::TouchUpInside);
        switch (urlResource->resourceType) {
            case 1:
                showMediaPicture(*urlResource);
                break;
            case 2:
                m_shareImageButton->setImage(buttonImage("SHS_url_video"));
                break;
            case 3:
                m_shareImageButton->setImage(buttonImage("SHS_url_music"));
                break;
            default:
                break;
        }
        return;
    }
    if (SHSImageObjectIsSet(image)) {
        if (const auto* picture = std::get_if<platform::Image>(&image)) {
            m_shareImageButton->setImage(*picture);
        } else if (const auto* data = std::get_if<platform::Bytes>(&image)) {
            m_shareImageButton->setImage(platform::Image::decode(
                std::string_view(reinterpret_cast<const char*>(data->data()), data->size())));
            mediaContext = *data;
        }
        m_deleteImageButton->setTag(kPictureDeleteTag);
        m_deleteImageButton->addTarget(
            [weakSelf](platform::Control&) {
                if (auto self = weakSelf.lock())
                    self->selectImage();
            },
            platform::ControlEvent::TouchUpInside);
        return;
    }
    // Nothing attached: the picture view and its delete button leave the screen, but the
    // screen still holds the picture view, so the share counts as having content and goes to
    // the service, which answers it. Only deleting an attachment lets the view go.
    m_shareImageButton->removeFromSuperview();
    m_deleteImageButton->removeFromSuperview();
}

// The link's picture from the cache at once, else the placeholder until the loader's one
// download for the address (shared with every other view of it, and filling the cache) ends.
void SHShareEditViewController::showMediaPicture(const SHSocialUrlResource& resource) {
    const auto placeholder = buttonImage("SHS_url_image");
    m_shareImageButton->setImage(placeholder);
    m_mediaObserver = std::make_shared<SHShareEditMediaObserver>(self());
    m_mediaImageView = std::make_shared<SHSocialImageView>(placeholder, m_mediaObserver);
    m_mediaImageView->setImageURL(resource.url);
}

void SHShareEditViewController::mediaPictureArrived(const platform::Image& image) {
    // The picture view is kept: this is called from inside it, while it still finishes its
    // own call, so letting it go here would free it under its feet.
    if (!m_shareImageButton)
        return;  // the attachment was deleted meanwhile
    if (!image.isNull()) {
        m_shareImageButton->setImage(image);
    } else {
        // The link still goes with the share; only its picture could not be had.
        m_shareImageButton->setImage(platform::Image{});
        m_deleteImageButton->removeFromSuperview();
    }
    if (platformName() == "twitter")
        updateCountLabel();
}

void SHShareEditViewController::selectImage() {
    if (m_textView->isEditing())
        m_textView->resignFirstResponder();
    auto sheet = platform::View::make<platform::ActionSheet>(
        "", self(), SHSocialLocalizedString("button_cancel", "取消"),
        SHSocialLocalizedString("shareEdit_delete_picture", "删除图片"),
        std::vector<std::string>{});
    sheet->setTag(kPictureSheetTag);
    m_sheet = sheet;
    sheet->showInView(view());
}

void SHShareEditViewController::selectUrlResource() {
    const int type = urlResource ? urlResource->resourceType : 0;
    std::string destructive;
    if (type == 1)
        destructive = SHSocialLocalizedString("shareEdit_delete_picture", "删除图片");
    else if (type == 2)
        destructive = SHSocialLocalizedString("shareEdit_delete_video", "删除视频");
    else if (type == 3)
        destructive = SHSocialLocalizedString("shareEdit_delete_music", "删除音乐");
    auto sheet = platform::View::make<platform::ActionSheet>(
        "", self(), SHSocialLocalizedString("button_cancel", "取消"), destructive,
        std::vector<std::string>{});
    sheet->setTag(kMediaSheetTagBase + type);
    m_sheet = sheet;
    sheet->showInView(view());
}

std::shared_ptr<platform::ActionSheet> SHShareEditViewController::deleteSheet() const {
    auto sheet = m_sheet.lock();
    return sheet && sheet->isVisible() ? sheet : nullptr;
}

void SHShareEditViewController::clickedButtonAtIndex(platform::ActionSheet& sheet, int index) {
    // Only the destructive button deletes: a sheet without one (a media kind beyond music)
    // has its cancel button first, which must not delete.
    if (sheet.destructiveButtonIndex() < 0 || index != sheet.destructiveButtonIndex())
        return;
    deleteAttachment();
}

void SHShareEditViewController::deleteAttachment() {
    m_mediaImageView.reset();
    if (m_shareImageButton) {
        m_shareImageButton->setImage(platform::Image{});
        m_shareImageButton->removeFromSuperview();
        m_shareImageButton.reset();
    }
    if (m_deleteImageButton)
        m_deleteImageButton->setHidden(true);
    if (platformName() == "twitter")
        updateCountLabel();
}

void SHShareEditViewController::offerFollow() {
    const auto name = platformName();
    const auto& uids = SHSocialConfigInternal::shareInstance().followSnsUids;
    auto found = uids.find(name);
    if (found == uids.end() || found->second.empty())
        return;
    if (platform::UserDefaults::standard().objectForKey(followKey(name)))
        return;
    m_followButton->setImage(buttonImage("SHS_follow_on"));
    m_followButton->setTag(kFollowOn);
    m_followLabel->setText(SHSocialLocalizedString("shareEdit_addFollow", "关注官方微博"));
    m_followButton->setHidden(false);
    m_followLabel->setHidden(false);
}

void SHShareEditViewController::addFollow() {
    if (m_followButton->tag() == kFollowOn) {
        m_followButton->setImage(buttonImage("SHS_follow_off"));
        m_followButton->setTag(kFollowOff);
    } else {
        m_followButton->setImage(buttonImage("SHS_follow_on"));
        m_followButton->setTag(kFollowOn);
    }
}

void SHShareEditViewController::addUserInfo() {
    using namespace SHShareEditLayout;
    for (auto subview : std::vector(m_changeAccountView->subviews()))
        subview->removeFromSuperview();
    const double width = m_changeAccountBackgroundView->bounds().width();
    const double half = width / 2;
    for (int tag : {kLeftHalfTag, kRightHalfTag}) {
        if (auto old = m_changeAccountBackgroundView->viewWithTag(tag);
            old && old != m_changeAccountBackgroundView)
            old->removeFromSuperview();
        auto halfView = std::make_shared<platform::View>(
            platform::Rect{{tag == kLeftHalfTag ? 0 : half + 1, 0}, {half, kHalfHeight}});
        halfView->setTag(tag);
        halfView->setBackgroundColor(platform::Color::whiteAlpha(140 / 255.0f, 1));
        m_changeAccountBackgroundView->addSubview(halfView);
    }
    m_changeAccountBackgroundView->setBackgroundColor(platform::Color::whiteAlpha(108 / 255.0f, 1));

    const auto account = accountOf(platformName());
    const auto placeholder = buttonImage("SHS_User-Avatar-Placeholder");
    auto avatar = std::make_shared<platform::ImageView>(kAvatarFrame);
    avatar->setImage(placeholder);
    avatar->setCornerRadius(kAvatarCorner);
    avatar->setClipsToBounds(true);
    m_changeAccountView->addSubview(avatar);
    m_profileImageView = std::make_shared<SHSocialImageView>(placeholder);
    m_profileImageView->setFrame(kAvatarFrame);
    m_profileImageView->setCornerRadius(kAvatarCorner);
    m_profileImageView->setClipsToBounds(true);
    m_profileImageView->setHandle("shareAvatar");
    m_changeAccountView->addSubview(m_profileImageView);
    if (account && account->iconURL)
        m_profileImageView->setImageURL(account->iconURL);

    m_snsNameLabel = panelLabel(kNameFrame);
    m_snsNameLabel->setHandle("shareUserName");
    m_snsNameLabel->setText(account && account->userName ? *account->userName : "");
    m_snsNameLabel->setCenter({kAvatarFrame.midX(), kAvatarFrame.midY() + kCaptionDrop});
    m_changeAccountView->addSubview(m_snsNameLabel);

    const auto switchFrame = kAvatarFrame.offsetBy(kSwitchShift, 0);
    auto switchButton = std::make_shared<platform::Button>(switchFrame);
    switchButton->setImage(buttonImage("SHS_share_change_to_account"));
    switchButton->setHandle("shareSwitchAccount");
    std::weak_ptr<SHShareEditViewController> weakSelf = self();
    switchButton->addTarget(
        [weakSelf](platform::Control&) {
            if (auto self = weakSelf.lock())
                self->oauthToSns();
        },
        platform::ControlEvent::TouchUpInside);
    m_changeAccountView->addSubview(switchButton);
    auto caption = panelLabel(kCaptionFrame);
    caption->setText(SHSocialLocalizedString("shareEdit_change_account", "切换账号"));
    caption->setCenter({switchFrame.midX(), switchFrame.midY() + kCaptionDrop});
    m_changeAccountView->addSubview(caption);

    const auto background = m_changeAccountBackgroundView->bounds();
    m_changeAccountView->setCenter({background.midX(), background.midY()});
    m_changeAccountBackgroundView->addSubview(m_changeAccountView);

    if (!account || !account->userName || account->userName->empty()) {
        SHSocialDataService::defaultDataService()->requestSocialAccountWithCompletionInternal(
            [weakSelf](std::shared_ptr<SHSocialResponseEntity>) {
                if (auto self = weakSelf.lock())
                    self->showAccount();
            });
    }
}

void SHShareEditViewController::showAccount() {
    const auto account = accountOf(platformName());
    if (!account || !m_snsNameLabel)
        return;
    m_snsNameLabel->setText(account->userName.value_or(""));
    if (account->iconURL)
        m_profileImageView->setImageURL(account->iconURL);
}

void SHShareEditViewController::changeAccount() {
    if (platform::Application::shared().userInterfaceIdiom() != platform::UserInterfaceIdiom::Phone)
        return;
    if (m_textView->isEditing())
        m_textView->resignFirstResponder();
    else
        m_textView->becomeFirstResponder();
}

void SHShareEditViewController::oauthToSns() {
    if (!socialControllerService)
        return;
    const auto name = platformName();
    auto platform = SHSocialSnsPlatformManager::getSocialPlatformWithName(name);
    if (!platform || !platform->loginClickHandler)
        return;
    auto service = socialControllerService;
    service->nextViewController = -1;
    if (auto delegate = service->socialUIDelegate())
        socialUIDelegate = delegate;
    std::weak_ptr<SHShareEditViewController> weakSelf = self();
    platform->loginClickHandler(
        self(), service, false, [weakSelf, service, name](std::shared_ptr<SHSocialResponseEntity>) {
            if (auto self = weakSelf.lock())
                service->setSocialUIDelegate(self->socialUIDelegate);
            SHSocialDataService::defaultDataService()->requestSocialAccountWithCompletionInternal(
                [weakSelf, name](std::shared_ptr<SHSocialResponseEntity>) {
                    // The friends and mentions were the old account's.
                    SHSUserManager::shareInstance().forgetFriends(name);
                    if (auto self = weakSelf.lock())
                        self->showAccount();
                });
        });
}

void SHShareEditViewController::clickedButtonAtIndex(platform::AlertView& alert, int index) {
    SHSocialUtils::outLog("alertView tag is %d", alert.tag());
    auto service = socialControllerService;
    if (!service)
        return;
    if (alert.tag() == kAuthExpiredAlertTag) {
        if (index != 1)
            return;
        auto navigation = navigationController();
        if (auto page = service->getSocialViewController(SHSViewControllerOauth,
                                                         service->currentSnsPlatformName);
            page && navigation)
            navigation->pushViewController(page, true);
        return;
    }
    if (alert.tag() == kTextRepeatedAlertTag)
        return;
    service->close();
}
