#include "SocialSDK/service/SHSDataManager.h"

#include <cstdio>
#include <exception>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSCacheManager.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialJobFactory.h"
#include "SocialSDK/service/SHSocialSnsPlatformManagerInternal.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URLEscaping.h"

using platform::Json;

namespace {

constexpr const char* kBarClassName = "SHSBarEntity";
// The type a share entity gets for a platform name that is not registered.
constexpr int kUnregisteredShareType = 9;

SHSParamDictionary withCompletion(SHSocialResponseCompletion completion) {
    SHSParamDictionary params;
    params.completion = std::move(completion);
    return params;
}

}  // namespace

SHSDataManager::SHSDataManager(std::string id) : identifier(std::move(id)) {}

std::shared_ptr<SHSDataManager> SHSDataManager::currentDataManager() {
    auto& set = SHSDataManagerSet::shareInstance();
    if (auto manager = set.dataManager())
        return manager;
    set.setDataManagerWithHash(std::string(kDefaultIdentifier));
    return set.dataManager();
}

std::shared_ptr<SHSDataManager> SHSDataManager::getDataManager(const std::string& id) {
    return SHSDataManagerSet::shareInstance().getDataManager(id);
}

std::shared_ptr<SHSBarEntity> SHSDataManager::barEntity() {
    SHSCacheManager::shareInstance().changeVariableFromCache(m_barEntity, kBarClassName,
                                                             identifier);
    if (!m_barEntity)
        m_barEntity = std::make_shared<SHSBarEntity>();
    return m_barEntity;
}

void SHSDataManager::setBarEntity(std::shared_ptr<SHSBarEntity> bar) {
    SHSCacheManager::shareInstance().setCacheToVariable(m_barEntity, std::move(bar), kBarClassName,
                                                        identifier);
}

void SHSDataManager::doActionWithType(int action, SHSParamDictionary params) {
    const auto current = currentDataManager();
    if (current && current->netWorkDelegate.expired())
        current->netWorkDelegate = weak_from_this();
    std::optional<std::string> refusal;
    auto job = SHSocialJobFactory::sharedInstance().createSocialJob(action, params, &refusal);
    if (!job) {
        if (refusal && params.completion) {
            auto response = std::make_shared<SHSocialResponseEntity>();
            response->responseCode = SHSResponseCodeNotLogin;
            response->responseType = action;
            response->message = SHSNotLoginMessage;
            response->error = *refusal;
            platform::RunLoop::main().post(
                [done = std::move(params.completion), response] { done(response); });
        }
        return;
    }
    // A job of type 3 only carries its path; queued, it would never end and block the queue.
    if (job->networkType == SHSNetworkTypeNotSent)
        return;
    job->setDataManager(shared_from_this());
    actionArray.push_back(job);
    if (actionArray.size() == 1)
        job->makeResquest();
}

std::string SHSDataManager::encodedDescriptor(const std::string& id) {
    static constexpr std::string_view kEscaped = "?!@#$^&%*+=,:;'\"`<>()[]{}/\\|~ ";
    const std::string decoded = platform::urlDecodedString(id);
    std::string out;
    for (const unsigned char c : decoded) {
        if (c >= 0x80 || kEscaped.find(static_cast<char>(c)) != std::string_view::npos) {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void SHSDataManager::requestSocialEntityKey() {
    const auto bar = barEntity();
    if (bar->entityKey && !bar->entityKey->empty())
        return;
    SHSParamDictionary params;
    params.values["descriptor"] = encodedDescriptor(identifier);
    doActionWithType(SHSActionTypeGetBar, std::move(params));
}

void SHSDataManager::requestBarInfo(SHSocialResponseCompletion done) {
    SHSParamDictionary params = withCompletion(std::move(done));
    const std::string descriptor = encodedDescriptor(identifier);
    SHSocialUtils::outLog("encodeDescriptor is %@", descriptor);
    params.values["descriptor"] = descriptor;
    if (title)
        params.values["title"] = *title;
    doActionWithType(SHSActionTypeGetBar, std::move(params));
}

void SHSDataManager::requestCommentList(long long lastCommentTime,
                                        SHSocialResponseCompletion done) {
    requestSocialEntityKey();
    SHSParamDictionary params = withCompletion(std::move(done));
    params.values["lastCommentTime"] = std::to_string(lastCommentTime);
    doActionWithType(SHSActionTypeGetComments, std::move(params));
}

void SHSDataManager::requestAddlikeOrDislike(int like, SHSocialResponseCompletion done) {
    requestSocialEntityKey();
    SHSParamDictionary params = withCompletion(std::move(done));
    params.values["like"] = std::to_string(like);
    doActionWithType(SHSActionTypeLike, std::move(params));
}

void SHSDataManager::addOrMinusLike(SHSocialResponseCompletion done) {
    const bool liked = currentDataManager()->barEntity()->isLike;
    SHSParamDictionary params = withCompletion(std::move(done));
    params.values["like"] = liked ? "0" : "1";
    doActionWithType(SHSActionTypeLike, std::move(params));
}

void SHSDataManager::requestAddComment(SHSocialResponseCompletion done) {
    requestSocialEntityKey();
    doActionWithType(SHSActionTypeAddComment, withCompletion(std::move(done)));
}

void SHSDataManager::postAppInfo(const Json& appInfo, SHSocialResponseCompletion done) {
    SHSParamDictionary params = withCompletion(std::move(done));
    params.values["appInfo"] = appInfo;
    doActionWithType(SHSActionTypePostAppInfo, std::move(params));
}

void SHSDataManager::requestShareToMultiSNS(const std::vector<std::string>& platformNames,
                                            SHSocialResponseCompletion done) {
    requestSocialEntityKey();
    SHSParamDictionary params = withCompletion(std::move(done));
    params.values["snsNames"] = platformNames;
    // The share goes with its job: another share may replace the manager's before this job,
    // waiting for the entity key, is sent.
    params.snsEntity = currentDataManager()->snsEntity;
    doActionWithType(SHSActionTypeShareMulti, std::move(params));
}

void SHSDataManager::postOpAnalyticsWithDictionary(const Json& counters,
                                                   SHSocialResponseCompletion done) {
    SHSParamDictionary params = withCompletion(std::move(done));
    params.values["opDic"] = counters;
    doActionWithType(SHSActionTypePostOpAnalytics, std::move(params));
}

void SHSDataManager::setSnsEntity(int shareToType, const std::optional<std::string>& content,
                                  const SHSImageObject& image,
                                  const std::optional<SHSLocation>& location,
                                  const std::shared_ptr<SHSocialUrlResource>& urlResource) {
    const auto manager = currentDataManager();
    auto entity = std::make_shared<SHSSNSEntity>(shareToType);
    entity->isShake = manager->snsEntity && manager->snsEntity->isShake;
    entity->location = location;
    if (urlResource) {
        entity->isSendUrlResource = true;
        entity->isSendImage = false;
    } else if (SHSImageObjectIsSet(image)) {
        entity->isSendImage = true;
        entity->isSendUrlResource = false;
    }
    entity->shareText = content;
    entity->shareImage = image;
    entity->urlResource = urlResource;
    manager->snsEntity = entity;
}

void SHSDataManager::postSNSWithTypes(const std::vector<std::string>& platformNames,
                                      const std::optional<std::string>& content,
                                      const SHSImageObject& image,
                                      const std::optional<SHSLocation>& location,
                                      const std::shared_ptr<SHSocialUrlResource>& urlResource,
                                      SHSocialResponseCompletion done,
                                      const std::optional<std::string>& sourceOpType) {
    Json names = platformNames;
    SHSocialUtils::outLog("platformTypes is %@", names.dump());
    if (platformNames.empty()) {
        SHSocialUtils::outLog("you have not set sns types");
        return;
    }
    int type = SHSocialSnsPlatformManagerInternal::getSnsPlatformType(platformNames.front());
    if (type == 0)
        type = kUnregisteredShareType;
    setSnsEntity(type, content, image, location, urlResource);
    const auto manager = currentDataManager();
    manager->snsEntity->isShake = sourceOpType == "46";
    manager->requestShareToMultiSNS(platformNames, std::move(done));
}

void SHSDataManager::postCommentForDeveloperWithContent(const std::string& content,
                                                        SHSocialResponseCompletion done) {
    SHSUserManager::shareInstance().setCommentShareAccountDic(Json::object());
    postCommentWithContent(content, std::nullopt, std::move(done));
}

void SHSDataManager::postCommentWithContent(const std::string& content,
                                            const std::optional<platform::Image>& image,
                                            const std::optional<std::string>& templateText,
                                            const std::optional<SHSLocation>& location,
                                            const Json& usidsByPlatform,
                                            SHSocialResponseCompletion done) {
    if (usidsByPlatform.is_object()) {
        for (const auto& [key, value] : usidsByPlatform.items()) {
            if (key != "sina" && key != "tencent" && key != "renren" && key != "douban" &&
                key != "qzone" && key != "custom") {
                SHSocialUtils::outLog("error key is %@", key);
                SHSocialUtils::outLog(
                    "you should pass a sns type that one of SHShareToTypeSina, "
                    "SHShareToTypeTecent,SHShareToTypeRenren,SHShareToTypeDouban,"
                    "SHShareToTypeQzone");
                return;
            }
            if (!value.is_string()) {
                SHSocialUtils::outLog("you should pass a sns uid string");
                return;
            }
        }
    }
    const auto bar = currentDataManager()->barEntity();
    bar->commentText = templateText;
    bar->commentImage = image;
    postCommentWithContent(content, location, usidsByPlatform, std::move(done));
}

void SHSDataManager::postCommentWithContent(const std::string& content,
                                            const std::optional<SHSLocation>& location,
                                            const Json& usidsByPlatform,
                                            SHSocialResponseCompletion done) {
    SHSUserManager::shareInstance().setCommentShareAccountDic(usidsByPlatform);
    postCommentWithContent(content, location, std::move(done));
}

void SHSDataManager::postCommentWithContent(const std::string& content,
                                            const std::optional<SHSLocation>& location,
                                            SHSocialResponseCompletion done) {
    const auto manager = currentDataManager();
    auto comment = std::make_shared<SHSCommentEntity>();
    comment->content = content;
    comment->location = location;
    manager->currentComment = comment;
    manager->requestAddComment(std::move(done));
}

void SHSDataManager::didFinishGetResponseInSDK(std::shared_ptr<SHSocialResponseEntity> response) {
    const auto delegate = socialDelegate.lock();
    if (!delegate)
        return;
    try {
        delegate->didFinishGetSHSocialDataResponse(std::move(response));
    } catch (const std::exception&) {
        SHSocialUtils::outLog("didFinishGetResponseInSDK error");
    }
}
