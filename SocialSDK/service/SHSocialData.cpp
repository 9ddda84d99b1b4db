#include "SocialSDK/service/SHSocialData.h"

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialCryptor.h"
#include "SocialSDK/service/SHSocialSnsHandler.h"

namespace {

struct DefaultSubject {
    std::mutex lock;
    std::shared_ptr<SHSocialData> subject;
};

DefaultSubject& defaultSubject() {
    static DefaultSubject slot;
    return slot;
}

}  // namespace

std::shared_ptr<SHSocialData> SHSocialData::defaultData() {
    auto& slot = defaultSubject();
    std::lock_guard guard(slot.lock);
    if (!slot.subject)
        slot.subject = std::make_shared<SHSocialData>(kDefaultIdentifier);
    return slot.subject;
}

void SHSocialData::resetDefaultData() {
    auto& slot = defaultSubject();
    std::lock_guard guard(slot.lock);
    slot.subject.reset();
}

std::optional<std::string> SHSocialData::appKey() {
    return SHSDataManagerSet::shareInstance().appkey();
}

void SHSocialData::setAppKey(const std::optional<std::string>& appKey) {
    auto& set = SHSDataManagerSet::shareInstance();
    set.setAppkey(appKey);
    auto& handler = SHSocialSnsHandler::shareInstance();
    handler.appkey = appKey;
    SHSocialCryptor::updateAESKey(appKey.value_or(""));
    handler.requestAppInfo([](std::shared_ptr<SHSocialResponseEntity> response) {
        if (response)
            SHSocialSnsHandler::shareInstance().mergeAppInfoReply(*response);
    });
    if (set.sdkType && set.cocos2dxVersion) {
        platform::Json counters = platform::Json::object();
        counters[*set.sdkType] = *set.cocos2dxVersion;
        SHSDataManager::currentDataManager()->postOpAnalyticsWithDictionary(
            counters, [](std::shared_ptr<SHSocialResponseEntity> response) {
                SHSocialUtils::outLog("cocos2d-x op response is %@",
                                      response ? response->description() : std::string());
            });
    }
}

void SHSocialData::openLog(bool open) {
    SHSocialUtils::setOpenLog(open);
    SHSocialUtils::setPrefix("SHSocial: ");
}

SHSocialData::SHSocialData(const std::string& identifier) {
    setIdentifier(identifier);
    auto bar = manager()->barEntity();
    bar->extConfig = std::make_shared<SHSocialExtConfig>();
    bar->urlResource = std::make_shared<SHSocialUrlResource>();
}

SHSocialData::SHSocialData(const std::string& identifier, const std::string& title)
    : SHSocialData(identifier) {
    setTitle(title);
}

void SHSocialData::setIdentifier(const std::string& identifier) {
    m_identifier = identifier;
    auto& set = SHSDataManagerSet::shareInstance();
    set.setDataManagerWithHash(identifier);
    auto current = set.dataManager();
    const auto bar = current->barEntity();
    const bool known = bar->entityKey && !bar->entityKey->empty();
    if (known && SHSUserManager::shareInstance().uid())
        return;
    current->requestBarInfo([](std::shared_ptr<SHSocialResponseEntity>) {
        if (SHSocialAccountManager::socialAccountDictionary().empty())
            SHSUserManager::shareInstance().requestSnsAccount({});
    });
}

std::shared_ptr<SHSDataManager> SHSocialData::manager() const {
    auto& set = SHSDataManagerSet::shareInstance();
    if (auto found = set.getDataManager(m_identifier))
        return found;
    set.setDataManagerWithHash(m_identifier);
    return set.dataManager();
}

void SHSocialData::setTitle(const std::string& title) {
    m_title = title;
    manager()->title = title;
}

std::optional<std::string> SHSocialData::shareText() const {
    return manager()->barEntity()->shareText;
}

void SHSocialData::setShareText(const std::optional<std::string>& text) {
    manager()->barEntity()->shareText = text;
}

std::optional<std::string> SHSocialData::commentText() const {
    return manager()->barEntity()->commentText;
}

void SHSocialData::setCommentText(const std::optional<std::string>& text) {
    manager()->barEntity()->commentText = text;
}

SHSImageObject SHSocialData::shareImage() const {
    return manager()->barEntity()->shareImage;
}

void SHSocialData::setShareImage(const SHSImageObject& image) {
    auto bar = manager()->barEntity();
    bar->shareImage = image;
    if (SHSImageObjectIsSet(image) && bar->urlResource && bar->urlResource->resourceType == 1)
        SHSocialUtils::outLog(
            "You set the shareImage will be invalid, for you have set the urlResource image!");
}

std::shared_ptr<SHSocialUrlResource> SHSocialData::urlResource() const {
    return manager()->barEntity()->urlResource;
}

void SHSocialData::setUrlResource(const std::shared_ptr<SHSocialUrlResource>& resource) {
    if (!resource)
        return;
    auto bar = manager()->barEntity();
    if (!resource->url)
        SHSocialUtils::outLog("your urlResource's url can't be nil!!");
    else
        bar->urlResource = resource;
    if (SHSImageObjectIsSet(bar->shareImage))
        SHSocialUtils::outLog(
            "you have set shareImage, which will be invalid, for you set the urlResource!");
}

std::shared_ptr<SHSocialExtConfig> SHSocialData::extConfig() const {
    auto bar = manager()->barEntity();
    if (!bar->extConfig)
        bar->extConfig = std::make_shared<SHSocialExtConfig>();
    return bar->extConfig;
}

void SHSocialData::setExtConfig(std::shared_ptr<SHSocialExtConfig> config) {
    manager()->barEntity()->extConfig = std::move(config);
}

bool SHSocialData::isLike() const {
    return manager()->barEntity()->isLike;
}

std::optional<std::string> SHSocialData::hashIdentifier() const {
    return manager()->barEntity()->entityKey;
}

std::map<std::string, std::shared_ptr<SHSocialAccountEntity>> SHSocialData::socialAccount() const {
    return SHSUserManager::shareInstance().snsAccountDictionary();
}

void SHSocialData::refresh() {
    auto current = manager();
    const auto bar = current->barEntity();
    if (!bar->entityKey || bar->entityKey->empty())
        current->requestBarInfo({});
}

int SHSocialData::getNumber(int which) const {
    const auto bar = manager()->barEntity();
    switch (which) {
        case 0:
            return bar->likeCount;
        case 1:
            return bar->shareCount;
        case 2:
            return bar->commentCount;
        default:
            return 0;
    }
}

void SHSocialData::setSdkType(const std::string& sdkType, const std::string& version) {
    auto& set = SHSDataManagerSet::shareInstance();
    set.cocos2dxVersion = version;
    set.sdkType = sdkType;
}

void SHSocialUrlResourceSetType(SHSocialUrlResource& resource, int type) {
    if (type >= 0 && type < 5) {
        resource.resourceType = type;
        return;
    }
    resource.resourceType = 0;
    SHSocialUtils::outLog(
        "you must set the resourceType in SHSocialUrlResourceTypeImage,"
        "SHSocialUrlResourceTypeVideo,SHSocialUrlResourceTypeMusic");
}

void SHSocialUrlResourceSetTypeAndUrl(SHSocialUrlResource& resource, int type,
                                      const std::optional<std::string>& url) {
    SHSocialUrlResourceSetType(resource, type);
    if (resource.resourceType != 0)
        resource.url = url;
}

std::shared_ptr<SHSocialUrlResource> SHSocialUrlResourceMake(
    int type, const std::optional<std::string>& url) {
    auto resource = std::make_shared<SHSocialUrlResource>();
    SHSocialUrlResourceSetTypeAndUrl(*resource, type, url);
    return resource->resourceType == 0 ? nullptr : resource;
}
