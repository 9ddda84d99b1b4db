// The edit screen's sending: what goes with the share, the follow request, the synchronous
// share's progress bar and the result's toasts.

#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/service/SHSArchive.h"
#include "SocialSDK/service/SHSBarEntity.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialToast.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/TextView.h"

namespace {

constexpr double kProgressTick = 0.1;
constexpr int kProgressTicks = 30;  // 3 seconds
constexpr float kProgressEnd = 0.99f;

bool synchronous() {
    return SHSocialConfigInternal::shareInstance().shouldShareSynchronous;
}

}  // namespace

void SHShareEditViewController::pressSend() {
    if (!checkAndAlert())
        return;
    if (synchronous()) {
        stopProgressTimer();
        m_timerDuration = 0;
        m_progressTicks = 0;
        m_progressView->setProgress(0);
        navigationItem().setTitleView(m_progressView);
        std::weak_ptr<SHShareEditViewController> weakSelf = self();
        m_progressTimer = platform::RunLoop::main().scheduleTimer(
            platform::seconds(kProgressTick), true, [weakSelf](platform::Timer& timer) {
                if (auto self = weakSelf.lock())
                    self->updateProgress();
                else
                    timer.invalidate();
            });
    }
    postSnsContent();
}

void SHShareEditViewController::updateProgress() {
    // Counted in whole ticks, so that the thirtieth tick is 3 seconds however floats add up.
    ++m_progressTicks;
    m_timerDuration = float(m_progressTicks * kProgressTick);
    if (m_progressTicks < kProgressTicks) {
        m_progressView->setProgress(m_timerDuration * 10 / 33);
        return;
    }
    stopProgressTimer();
    m_progressView->setProgress(kProgressEnd);
}

void SHShareEditViewController::stopProgressTimer() {
    if (m_progressTimer) {
        m_progressTimer->invalidate();
        m_progressTimer.reset();
    }
}

void SHShareEditViewController::postSnsContent() {
    if (!socialControllerService)
        return;
    const auto name = platformName();
    const std::string text = m_textView->text();

    if (auto delegate = shareDelegate.lock()) {
        SHSImageObject image;
        if (mediaContext)
            image = *mediaContext;
        else if (m_shareImageButton && !m_shareImageButton->image().isNull())
            image = m_shareImageButton->image();
        delegate->clickShareButton(text, image, *this);
        return;
    }

    // What goes with the text: the media link, or the platform's picture, while the screen
    // still holds its picture view; nothing once the attachment is deleted.
    SHSImageObject image;
    std::shared_ptr<SHSocialUrlResource> link;
    if (holdsPicture()) {
        if (sendsMediaLink()) {
            link = urlResource;
        } else if (auto bar = SHSDataManager::currentDataManager()->barEntity()) {
            image = bar->shareImageFor(name);
        }
    }

    if (m_followButton && !m_followButton->isHidden() && m_followButton->tag() == kFollowOn) {
        const auto& uids = SHSocialConfigInternal::shareInstance().followSnsUids;
        if (auto found = uids.find(name); found != uids.end()) {
            SHSocialDataService::defaultDataService()->requestAddFollowInternal(
                name, found->second, [name](std::shared_ptr<SHSocialResponseEntity> response) {
                    // Only a follow the service took ends the offer; a failed one is made again.
                    if (!response || response->responseCode != 200)
                        return;
                    auto& defaults = platform::UserDefaults::standard();
                    defaults.setBool(true, "SHSocial_Follow_" + name);
                    defaults.synchronize();
                });
        }
    }

    auto service = socialControllerService;
    const bool sync = synchronous();
    if (!sync)
        service->close();

    SHSocialDataService::ContentDictionary content;
    if (!text.empty())
        content.content = text;
    if (m_shareImageButton && !m_shareImageButton->image().isNull())
        content.image = image;
    content.urlResource = link;
    content.sourceOpType = "9";
    // The screen may be gone when the result comes (it closes at once unless the share is
    // synchronous): the handler holds it weakly and the service, which lives on, strongly.
    std::weak_ptr<SHShareEditViewController> weakSelf = self();
    content.completion = [weakSelf, service, name,
                          sync](std::shared_ptr<SHSocialResponseEntity> response) {
        if (sync)
            if (auto self = weakSelf.lock())
                self->stopProgressTimer();
        if (response)
            response->viewControllerType = 3;
        if (auto delegate = service->socialUIDelegate())
            delegate->didFinishGetSHSocialDataInViewController(response);
        handleResult(response, name);
    };
    SHSocialDataService::defaultDataService()->postSNSWithTypesInternal({name}, std::move(content));
}

std::string SHShareEditViewController::resultToastText(const SHSocialResponseEntity& response,
                                                       const std::string& platformName) {
    if (response.responseCode == 200)
        return SHSocialLocalizedString("shareEdit_post_finish", "发送成功");
    if (response.responseCode == 510 && response.data && response.data->is_object() &&
        response.data->contains(platformName)) {
        const auto& entry = (*response.data)[platformName];
        // The code's integer value, however the service wrote it (5027, 5027.0 or "5027").
        const int st =
            entry.is_object() && entry.contains("st") ? shsarchive::replyInt(entry["st"]) : 0;
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
    if (response->responseCode == 200) {
        // The subject's counters change with the share: they are fetched again before the
        // success is told, and the host's share bars hear of it.
        SHSocialDataService::defaultDataService()->requestSocialDataWithCompletionInternal(
            [](std::shared_ptr<SHSocialResponseEntity>) {
                SHSocialToast::makeTextAndShow(
                    SHSocialLocalizedString("shareEdit_post_finish", "发送成功"));
                platform::NotificationCenter::defaultCenter().post("UpdateSocialBar");
            });
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
