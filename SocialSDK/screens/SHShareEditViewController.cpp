#include "SocialSDK/screens/SHShareEditViewController.h"

#include <algorithm>
#include <cctype>

#include "SocialSDK/screens/SHShareEditCounter.h"
#include "SocialSDK/screens/SHSocialFriendViewController.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialToast.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"

SHShareEditViewController::SHShareEditViewController(
    std::shared_ptr<SHSocialControllerService> service)
    : socialControllerService(std::move(service)) {}

std::string SHShareEditViewController::platformName() const {
    return socialControllerService && socialControllerService->currentSnsPlatformName
               ? *socialControllerService->currentSnsPlatformName
               : std::string();
}

void SHShareEditViewController::viewDidLoad() {
    const auto& root = view();
    m_textView = std::make_shared<platform::TextView>();
    // Text above the keyboard's place, below the 64-point navigation bar; the counter under it.
    auto width = root->bounds().size.width;
    m_textView->setFrame({0, 64, width, 160});
    m_textView->setHandle("shareText");
    m_textView->setDelegate(
        std::static_pointer_cast<SHShareEditViewController>(shared_from_this()));
    root->addSubview(m_textView);
    m_countLabel = std::make_shared<platform::Label>(platform::Rect{width - 40, 224, 40, 30});
    m_countLabel->setHandle("shareCount");
    root->addSubview(m_countLabel);
    auto name = platformName();
    auto platform = SHSocialSnsPlatformManager::getSocialPlatformWithName(name);
    setTitle(SHSocialLocalizedString("shareEdit_title", "分享至") +
             (platform && platform->displayName ? *platform->displayName : name));
    // The post button; the screen is held weakly so that a tap after it is gone does nothing.
    std::weak_ptr<SHShareEditViewController> weakSelf =
        std::static_pointer_cast<SHShareEditViewController>(shared_from_this());
    navigationItem().setRightBarButtonItem(std::make_shared<platform::BarButtonItem>(
        "发送", platform::BarButtonItemStyle::Done, [weakSelf](platform::BarButtonItem&) {
            if (auto self = weakSelf.lock())
                self->pressSend();
        }));
    // The "@" button beside the counter, on the platforms that take mentions only.
    m_atButton = platform::View::make<platform::Button>(platform::ButtonType::Custom);
    m_atButton->setFrame({8, 224, 40, 30});
    m_atButton->setHandle("shareAt");
    m_atButton->setImage(
        platform::Image::named("SHSocialSDKResourcesNew.bundle/Buttons/SHS_ruzar_share_at"));
    if (m_atButton->image().isNull()) {
        m_atButton->setTitle("@");
        m_atButton->setTitleColor(platform::Color::rgba(70 / 255.0f, 79 / 255.0f, 97 / 255.0f));
    }
    m_atButton->addTarget(
        [weakSelf](platform::Control&) {
            if (auto self = weakSelf.lock())
                self->showFriendList();
        },
        platform::ControlEvent::TouchUpInside);
    m_atButton->setHidden(name != "sina" && name != "tencent" && name != "renren" &&
                          name != "douban");
    root->addSubview(m_atButton);
    updateCountLabel();
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
    m_countLabel->setText(
        SHShareEditCounter::counterText(m_textView->text(), platformName(), m_holdsPicture));
}

void SHShareEditViewController::deleteAttachment() {
    // An attachment removed counts as none, for validation and for the twitter counter.
    m_holdsPicture = false;
    if (platformName() == "twitter")
        updateCountLabel();
}

std::optional<std::string> SHShareEditViewController::validationError() const {
    std::string text = m_textView ? m_textView->text() : std::string();
    bool blank =
        std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c) != 0; });
    if (blank && !m_holdsPicture)
        return SHSocialLocalizedString("shareEdit_error_not_empty", "分享内容为空");
    auto left = SHShareEditCounter::charactersLeft(text, platformName(), m_holdsPicture);
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

void SHShareEditViewController::pressSend() {
    if (!checkAndAlert() || !socialControllerService)
        return;
    auto name = platformName();
    SHSocialDataService::ContentDictionary content;
    if (!m_textView->text().empty())
        content.content = m_textView->text();
    content.sourceOpType = "9";
    // The screen may be gone when the result comes: the handler holds nothing of it.
    content.completion = [name](std::shared_ptr<SHSocialResponseEntity> response) {
        if (response)
            response->viewControllerType = 3;
        handleResult(response, name);
    };
    // The share UI closes at once; the result comes as a toast. (Until the controller
    // service closes its own navigation, the screen dismisses what presented it.)
    if (auto navigation = navigationController())
        if (navigation->presentingViewController())
            navigation->dismissViewController(true);
    auto service = SHSocialDataService::defaultDataService();
    service->postSNSWithTypesInternal({name}, std::move(content));
}

std::string SHShareEditViewController::resultToastText(const SHSocialResponseEntity& response,
                                                       const std::string& platformName) {
    if (response.responseCode == 200)
        return SHSocialLocalizedString("shareEdit_post_finish", "发送成功");
    if (response.responseCode == 510 && response.data && response.data->is_object() &&
        response.data->contains(platformName)) {
        const auto& entry = (*response.data)[platformName];
        long long st = 0;
        if (entry.is_object() && entry.contains("st")) {
            const auto& value = entry["st"];
            if (value.is_number())
                st = value.get<long long>();
            else if (value.is_string())
                st = std::atoll(value.get<std::string>().c_str());
        }
        switch (st) {
            case 5027:
                return SHSocialLocalizedString("shareEdit_error_auth_expired", "授权过期");
            case 5007:
                return SHSocialLocalizedString("shareEdit_error_empty_content",
                                               "分享内容为空，分享失败");
            case 5016:
                return SHSocialLocalizedString("shareEdit_error_text_repeated", "文字内容重复");
            case 505:
                return SHSocialLocalizedString("shareEdit_error_user_baned",
                                               "对不起，因为违反了用户协议您已被禁言");
            case 100031:
                return SHSocialLocalizedString("shareEdit_error_no_auth", "没有授权");
            default:
                return SHSocialLocalizedString("shareEdit_error_fail", "分享失败");
        }
    }
    return SHSocialLocalizedString("shareEdit_error_network_fail_message", "网络不给力");
}

void SHShareEditViewController::handleResult(
    const std::shared_ptr<SHSocialResponseEntity>& response, const std::string& platformName) {
    if (!response) {
        SHSocialToast::makeTextAndShow(
            SHSocialLocalizedString("shareEdit_error_network_fail_message", "网络不给力"));
        return;
    }
    auto text = resultToastText(*response, platformName);
    if (response->responseCode == 510 &&
        text == SHSocialLocalizedString("shareEdit_error_auth_expired", "授权过期")) {
        // An expired authorisation forgets the account so that the next share signs in again.
        auto& users = SHSUserManager::shareInstance();
        auto accounts = users.snsAccountDictionary();
        accounts.erase(platformName);
        users.setSnsAccountDictionary(std::move(accounts));
    }
    SHSocialToast::makeTextAndShow(text);
}
