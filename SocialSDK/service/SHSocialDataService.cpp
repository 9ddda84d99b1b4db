#include "SocialSDK/service/SHSocialDataService.h"

#include <mutex>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSArchive.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialHandlerClasses.h"
#include "SocialSDK/service/SHSocialLocalized.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialSnsPlatformManagerInternal.h"
#include "SocialSDK/service/SHSocialToast.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/net/HttpClient.h"

namespace {

struct DefaultService {
    std::mutex lock;
    std::shared_ptr<SHSocialDataService> service;
};

DefaultService& defaultService() {
    static DefaultService slot;
    return slot;
}

SHSImageObject loadLinkImage(const std::shared_ptr<SHSocialUrlResource>& link) {
    if (!link || link->resourceType != 1 || !link->url || link->url->empty())
        return {};
    platform::HttpRequest request;
    request.url = *link->url;
    // A synchronous load on the main thread must give up before the screen seems stuck.
    request.timeoutSeconds = 10;
    const auto response = platform::HttpClient::shared().sendSync(request);
    if (response.status != 200)
        return {};
    auto image = platform::Image::decode(response.body);
    if (image.isNull())
        return {};
    return image;
}

int platformCode(const std::shared_ptr<SHSocialResponseEntity>& response) {
    if (!response->data || !response->data->is_object() || response->data->empty())
        return 0;
    const auto& first = response->data->begin().value();
    if (!first.is_object())
        return 0;
    const auto st = first.find("st");
    // The code's integer value, however the service wrote it (5027, 5027.0 or "5027").
    return st == first.end() ? 0 : shsarchive::replyInt(*st);
}

void toast(const std::string& key, const std::string& defaultText) {
    SHSocialToast::makeTextAndShow(SHSocialLocalizedString(key, defaultText));
}

}  // namespace

std::shared_ptr<SHSocialDataService> SHSocialDataService::defaultDataService() {
    auto& slot = defaultService();
    std::lock_guard guard(slot.lock);
    if (!slot.service)
        slot.service = std::make_shared<SHSocialDataService>(SHSocialData::defaultData());
    return slot.service;
}

std::map<std::string, std::shared_ptr<SHSocialAccountEntity>>
SHSocialDataService::getSHSocialAccount() {
    return SHSUserManager::shareInstance().snsAccountDictionary();
}

void SHSocialDataService::resetDefaultDataService() {
    std::shared_ptr<SHSocialDataService> old;
    auto& slot = defaultService();
    std::lock_guard guard(slot.lock);
    old = std::move(slot.service);
}

SHSocialDataService::SHSocialDataService(std::shared_ptr<SHSocialData> data)
    : socialData(std::move(data)) {}

SHSocialDataService::~SHSocialDataService() {
    if (!socialData)
        return;
    if (auto manager =
            SHSDataManagerSet::shareInstance().existingDataManager(socialData->identifier()))
        manager->completion = nullptr;
}

std::shared_ptr<SHSDataManager> SHSocialDataService::subjectManager() const {
    return SHSDataManager::getDataManager(socialData->identifier());
}

void SHSocialDataService::setSHSocialDelegate(std::weak_ptr<SHSocialDataDelegate> delegate) {
    subjectManager()->socialDelegate = std::move(delegate);
}

std::shared_ptr<SHSocialDataDelegate> SHSocialDataService::socialDataDelegate() const {
    return subjectManager()->socialDelegate.lock();
}

// --- Counter and like ---------------------------------------------------------------------------

void SHSocialDataService::requestSocialDataWithCompletion(SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("15");
    requestSocialDataWithCompletionInternal(std::move(completion));
}

void SHSocialDataService::requestSocialDataWithCompletionInternal(
    SHSocialResponseCompletion completion) {
    auto manager = SHSDataManager::currentDataManager();
    manager->netWorkDelegate = manager;
    manager->completion = completion;
    manager->requestBarInfo(std::move(completion));
}

void SHSocialDataService::postAddLikeOrCancelWithCompletion(SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("16");
    postAddLikeOrCancelWithCompletionInternal(std::move(completion));
}

void SHSocialDataService::postAddLikeOrCancelWithCompletionInternal(
    SHSocialResponseCompletion completion) {
    auto manager = subjectManager();
    manager->completion = completion;
    manager->requestAddlikeOrDislike(socialData->isLike() ? 0 : 1, std::move(completion));
}

// --- Comments -----------------------------------------------------------------------------------

void SHSocialDataService::postCommentWithContent(const std::string& content,
                                                 SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("17");
    postCommentWithContentInternal(content, std::move(completion));
}

void SHSocialDataService::postCommentWithContentInternal(const std::string& content,
                                                         SHSocialResponseCompletion completion) {
    subjectManager()->completion = completion;
    SHSDataManager::postCommentForDeveloperWithContent(content, std::move(completion));
}

void SHSocialDataService::postCommentWithContent(const std::string& content,
                                                 const std::optional<platform::Image>& image,
                                                 const std::optional<std::string>& templateText,
                                                 const std::optional<SHSLocation>& location,
                                                 const platform::Json& usidsByPlatform,
                                                 SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("18");
    postCommentWithContentInternal(content, image, templateText, location, usidsByPlatform,
                                   std::move(completion));
}

void SHSocialDataService::postCommentWithContentInternal(
    const std::string& content, const std::optional<platform::Image>& image,
    const std::optional<std::string>& templateText, const std::optional<SHSLocation>& location,
    const platform::Json& usidsByPlatform, SHSocialResponseCompletion completion) {
    subjectManager()->completion = completion;
    SHSDataManager::postCommentWithContent(content, image, templateText, location, usidsByPlatform,
                                           std::move(completion));
}

void SHSocialDataService::requestCommentList(std::int64_t lastCommentTime,
                                             SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("19");
    requestCommentListInternal(lastCommentTime, std::move(completion));
}

void SHSocialDataService::requestCommentListInternal(std::int64_t lastCommentTime,
                                                     SHSocialResponseCompletion completion) {
    auto manager = subjectManager();
    manager->completion = completion;
    manager->requestCommentList(lastCommentTime, std::move(completion));
}

// --- Accounts -----------------------------------------------------------------------------------

void SHSocialDataService::requestSocialAccountWithCompletion(
    SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("20");
    requestSocialAccountWithCompletionInternal(std::move(completion));
}

void SHSocialDataService::requestSocialAccountWithCompletionInternal(
    SHSocialResponseCompletion completion) {
    subjectManager()->completion = completion;
    SHSUserManager::shareInstance().requestSnsAccount(std::move(completion));
}

void SHSocialDataService::requestUnOauthWithType(const std::string& platformName,
                                                 SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("21");
    requestUnOauthWithTypeInternal(platformName, std::move(completion));
}

void SHSocialDataService::requestUnOauthWithTypeInternal(const std::string& platformName,
                                                         SHSocialResponseCompletion completion) {
    subjectManager()->completion = completion;
    SHSUserManager::shareInstance().requestUnOauthToPlatform(platformName, std::move(completion));
}

void SHSocialDataService::requestBindToSnsWithType(const std::string& platformName,
                                                   SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("22");
    requestBindToSnsWithTypeInternal(platformName, std::move(completion));
}

void SHSocialDataService::requestBindToSnsWithTypeInternal(const std::string& platformName,
                                                           SHSocialResponseCompletion completion) {
    subjectManager()->completion = completion;
    SHSUserManager::shareInstance().requestBindingSNSWithTye(platformName, std::move(completion));
}

void SHSocialDataService::requestUnBindToSnsWithCompletion(SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("23");
    requestUnBindToSnsWithCompletionInternal(std::move(completion));
}

void SHSocialDataService::requestUnBindToSnsWithCompletionInternal(
    SHSocialResponseCompletion completion) {
    SHSUserManager::shareInstance().requestUnBindingSNS(std::move(completion));
}

void SHSocialDataService::requestSnsInformation(const std::string& platformName,
                                                SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("24");
    requestSnsInformationInternal(platformName, std::move(completion));
}

void SHSocialDataService::requestSnsInformationInternal(const std::string& platformName,
                                                        SHSocialResponseCompletion completion) {
    subjectManager()->completion = completion;
    SHSUserManager::shareInstance().requestSnsInformation(platformName, std::move(completion));
}

void SHSocialDataService::requestSnsFriends(const std::string& platformName,
                                            SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("25");
    requestSnsFriendsInternal(platformName, std::move(completion));
}

void SHSocialDataService::requestSnsFriendsInternal(const std::string& platformName,
                                                    SHSocialResponseCompletion completion) {
    subjectManager()->completion = completion;
    SHSUserManager::shareInstance().requestGetFriends(platformName, std::move(completion));
}

void SHSocialDataService::requestAddFollow(const std::string& platformName,
                                           const std::vector<std::string>& usids,
                                           SHSocialResponseCompletion completion) {
    SHSocialOpAnalytics::postSocialAnalytics("26");
    requestAddFollowInternal(platformName, usids, std::move(completion));
}

void SHSocialDataService::requestAddFollowInternal(const std::string& platformName,
                                                   const std::vector<std::string>& usids,
                                                   SHSocialResponseCompletion completion) {
    subjectManager()->completion = completion;
    SHSUserManager::shareInstance().requestAddFollow(platformName, usids, std::move(completion));
}

void SHSocialDataService::requestIsTokenValid(const std::vector<std::string>& platformNames,
                                              SHSocialResponseCompletion completion) {
    requestIsTokenValidInternal(platformNames, std::move(completion));
}

void SHSocialDataService::requestIsTokenValidInternal(const std::vector<std::string>& platformNames,
                                                      SHSocialResponseCompletion completion) {
    SHSUserManager::shareInstance().requestIsTokenValid(platformNames, std::move(completion));
}

// --- Shares -------------------------------------------------------------------------------------

void SHSocialDataService::postSNSWithTypes(const std::vector<std::string>& platformNames,
                                           const std::optional<std::string>& content,
                                           const SHSImageObject& image,
                                           const std::optional<SHSLocation>& location,
                                           const std::shared_ptr<SHSocialUrlResource>& urlResource,
                                           SHSocialResponseCompletion completion) {
    postSNSWithTypesInternal(platformNames, content, image, location, urlResource,
                             std::move(completion), std::nullopt);
}

void SHSocialDataService::postSNSWithTypesInternal(
    const std::vector<std::string>& platformNames, const std::optional<std::string>& content,
    const SHSImageObject& image, const std::optional<SHSLocation>& location,
    const std::shared_ptr<SHSocialUrlResource>& urlResource, SHSocialResponseCompletion completion,
    const std::optional<std::string>& sourceOpType) {
    if (platformNames.size() == 1)
        SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("14", sourceOpType,
                                                                 platformNames.front());
    else
        SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("14", sourceOpType);
    if (!sourceOpType && platformNames.size() == 1 &&
        (platformNames.front() == "facebook" || platformNames.front() == "twitter")) {
        const auto className = platformNames.front() == "facebook" ? "SHSocialFacebookHandler"
                                                                   : "SHSocialTwitterHandler";
        if (auto handler = SHSocialHandlerClasses::classNamed(className)) {
            SHSImageObject picture = loadLinkImage(urlResource);
            if (!SHSImageObjectIsSet(picture))
                picture = image;
            handler->setCompletion(std::move(completion));
            handler->clickShareButton(content, picture, nullptr);
        }
        return;
    }
    auto manager = subjectManager();
    manager->completion = completion;
    SHSDataManager::postSNSWithTypes(platformNames, content, image, location, urlResource,
                                     std::move(completion), sourceOpType);
}

void SHSocialDataService::postSNSWithTypesInternal(const std::vector<std::string>& platformNames,
                                                   ContentDictionary content) {
    postSNSWithTypesInternal(platformNames, content.content, content.image, content.location,
                             content.urlResource, std::move(content.completion),
                             content.sourceOpType);
}

bool SHSocialDataService::canDirectShare(int platformType) {
    if (platformType == 11 || platformType == 12 || platformType == 13)
        return true;
    if (platformType == 21) {
        auto handler = SHSocialHandlerClasses::classNamed("SHSocialTwitterHandler");
        return handler && handler->isOpenTwitter();
    }
    if (platformType == 20) {
        auto handler = SHSocialHandlerClasses::classNamed("SHSocialFacebookHandler");
        return handler && handler->appId();
    }
    return false;
}

void SHSocialDataService::signInThenShare(
    const std::string& platformName, const std::shared_ptr<platform::ViewController>& controller,
    SHSocialResponseCompletion onSignedIn, SHSocialResponseCompletion onFailed) {
    auto platform =
        SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName(platformName);
    if (!platform || !platform->loginClickHandler)
        return;
    auto service = std::make_shared<SHSocialControllerService>(socialData);
    platform->loginClickHandler(
        controller, service, true,
        [onSignedIn, onFailed, service](std::shared_ptr<SHSocialResponseEntity> response) {
            if (response && response->responseCode == SHSResponseCodeSuccess)
                onSignedIn(response);
            else if (onFailed)
                onFailed(response);
        });
}

void SHSocialDataService::postSNSWithTypes(
    const std::vector<std::string>& platformNames, const std::optional<std::string>& givenContent,
    const SHSImageObject& givenImage, const std::optional<SHSLocation>& location,
    const std::shared_ptr<SHSocialUrlResource>& givenLink,
    const std::shared_ptr<platform::ViewController>& controller,
    SHSocialResponseCompletion completion) {
    if (platformNames.size() != 1) {
        postSNSWithTypes(platformNames, givenContent, givenImage, location, givenLink,
                         std::move(completion));
        return;
    }
    const std::string name = platformNames.front();
    auto content = givenContent;
    auto image = givenImage;
    auto link = givenLink;
    const auto ext = SHSocialData::defaultData()->extConfig();
    if (const auto it = ext->snsDataDictionary.find(name); it != ext->snsDataDictionary.end()) {
        if (it->second->shareText)
            content = it->second->shareText;
        if (SHSImageObjectIsSet(it->second->shareImage))
            image = it->second->shareImage;
        if (it->second->urlResource && it->second->urlResource->resourceType != 0)
            link = it->second->urlResource;
    }
    const int type = SHSocialSnsPlatformManagerInternal::getSnsPlatformType(name);
    if (type == 0)
        return;
    if (!canDirectShare(type)) {
        m_preText = socialData->shareText();
        m_preImage = socialData->shareImage();
        const auto previousLink = socialData->urlResource();
        m_preUrlType = previousLink ? previousLink->resourceType : 0;
        m_preUrlResourceUrl = previousLink ? previousLink->url : std::nullopt;
        socialData->setShareText(content);
        socialData->setShareImage(image);
        auto chosenLink = std::make_shared<SHSocialUrlResource>();
        if (link)
            *chosenLink = *link;
        socialData->urlResource() ? (void)(*socialData->urlResource() = *chosenLink)
                                  : socialData->setUrlResource(chosenLink);
        auto service = std::make_shared<SHSocialControllerService>(socialData);
        service->setSocialUIDelegate(weak_from_this());
        m_completion = std::move(completion);
        if (auto platform =
                SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName(name);
            platform && platform->snsClickHandler)
            platform->snsClickHandler(controller, service, true);
        return;
    }
    if (SHSocialAccountManager::isOauthAndTokenNotExpired(name)) {
        postSNSWithTypes(platformNames, content, image, location, link, std::move(completion));
        return;
    }
    if (controller) {
        auto self = shared_from_this();
        signInThenShare(
            name, controller,
            [self, platformNames, content, image, location, link,
             completion](std::shared_ptr<SHSocialResponseEntity>) {
                self->postSNSWithTypesInternal(platformNames, content, image, location, link,
                                               completion, "4");
            },
            completion);
        return;
    }
    SHSocialUtils::outLog(
        "Not oauth with the platform, so you should pass the current ViewController!");
    postSNSWithTypesInternal(platformNames, content, image, location, link, std::move(completion),
                             std::nullopt);
}

bool SHSocialDataService::didFinishGetSHSocialDataInViewController(
    std::shared_ptr<SHSocialResponseEntity> response) {
    socialData->setShareText(m_preText);
    socialData->setShareImage(m_preImage);
    if (auto link = socialData->urlResource()) {
        link->resourceType = m_preUrlType;
        link->url = m_preUrlResourceUrl;
    }
    if (m_completion)
        m_completion(std::move(response));
    return true;
}

void SHSocialDataService::postSnsWithDictionary(ContentDictionary dictionary) {
    const std::string name = dictionary.snsType.value_or("");
    auto controller = std::move(dictionary.controller);
    auto callerCompletion = std::move(dictionary.completion);
    dictionary.completion = [name, callerCompletion](std::shared_ptr<SHSocialResponseEntity> r) {
        handleShareResult(name, r);
        if (callerCompletion)
            callerCompletion(r);
    };
    const int type = SHSocialSnsPlatformManagerInternal::getSnsPlatformType(name);
    if (type != 11 && type != 12 && type != 13) {
        postSNSWithTypes({name}, dictionary.content, dictionary.image, dictionary.location,
                         dictionary.urlResource, controller, dictionary.completion);
        return;
    }
    if (SHSocialAccountManager::isOauthAndTokenNotExpired(name)) {
        postSNSWithTypesInternal({name}, std::move(dictionary));
        return;
    }
    if (!controller)
        return;
    auto self = shared_from_this();
    auto onFailed = dictionary.completion;
    signInThenShare(
        name, controller,
        [self, name, dictionary](std::shared_ptr<SHSocialResponseEntity>) {
            self->postSNSWithTypesInternal({name}, dictionary);
        },
        onFailed);
}

void SHSocialDataService::handleShareResult(
    const std::string& platformName, const std::shared_ptr<SHSocialResponseEntity>& response) {
    if (!response)
        return;
    const int code = response->responseCode;
    if (code == SHSResponseCodeCancel)
        return;
    if (code == SHSResponseCodeSuccess) {
        defaultDataService()->requestSocialDataWithCompletionInternal(
            [platformName](std::shared_ptr<SHSocialResponseEntity>) {
                if (SHSocialSnsPlatformManagerInternal::getSnsPlatformType(platformName) < 14)
                    toast("shareEdit_post_finish", "发送成功");
                platform::NotificationCenter::defaultCenter().post("UpdateSocialBar");
            });
        return;
    }
    if (code != 510) {
        toast("shareEdit_error_network_fail_message", "网络异常，分享失败");
        return;
    }
    switch (platformCode(response)) {
        case 5027: {
            auto& users = SHSUserManager::shareInstance();
            auto accounts = users.snsAccountDictionary();
            accounts.erase(platformName);
            users.setSnsAccountDictionary(std::move(accounts));
            toast("shareEdit_error_auth_expired", "由于授权过期，分享失败");
            break;
        }
        case 5007:
            toast("shareEdit_error_empty_content", "消息为空，分享失败");
            break;
        case 5016:
            toast("shareEdit_error_text_repeated", "由于文字重复，分享失败");
            break;
        case 505:
            toast("shareEdit_error_user_baned", "对不起，因为违反了用户协议您已被禁言");
            break;
        case 100031:
            toast("shareEdit_error_no_auth", "用户没有授权，分享失败");
            break;
        default:
            toast("shareEdit_error_fail", "分享失败");
            break;
    }
}

void SHSocialDataService::cancelAllRequestInQueueInternal() {
    auto manager = SHSDataManager::currentDataManager();
    auto& queue = manager->actionArray;
    if (!queue.empty()) {
        // The head is the only job on the wire: its own request is cancelled and reported;
        // the waiting ones leave first so that none of them is sent in its place.
        auto head = queue.front();
        queue.assign(1, head);
        head->cancel();
    }
    queue.clear();
}
