#include "SocialSDK/service/SHSBarEntity.h"

#include "SocialSDK/service/SHSArchive.h"
#include "SocialSDK/service/SHSDataManager.h"

platform::Json SHSBarEntity::toArchive() const {
    platform::Json archive = platform::Json::object();
    archive["likeCount"] = likeCount;
    archive["commentCount"] = commentCount;
    archive["shareCount"] = shareCount;
    archive["isLike"] = isLike;
    shsarchive::putText(archive, "entityKey", entityKey);
    shsarchive::putText(archive, "sessionId", sessionId);
    return archive;
}

std::shared_ptr<SHSBarEntity> SHSBarEntity::fromArchive(const platform::Json& archive) {
    using namespace shsarchive;
    if (!archive.is_object())
        return nullptr;
    auto bar = std::make_shared<SHSBarEntity>();
    bar->likeCount = static_cast<int>(integer(archive, "likeCount"));
    bar->commentCount = static_cast<int>(integer(archive, "commentCount"));
    bar->shareCount = static_cast<int>(integer(archive, "shareCount"));
    bar->isLike = boolean(archive, "isLike");
    bar->entityKey = text(archive, "entityKey");
    bar->sessionId = text(archive, "sessionId");
    return bar;
}

std::shared_ptr<SHSocialSnsData> SHSBarEntity::getSnsData(const std::string& platformName) const {
    // Every platform that has a data object, except "alipaysession", which this lookup
    // has never answered for.
    if (!extConfig || platformName == "alipaysession")
        return nullptr;
    const auto it = extConfig->snsDataDictionary.find(platformName);
    return it == extConfig->snsDataDictionary.end() ? nullptr : it->second;
}

std::optional<std::string> SHSBarEntity::shareTextFor(const std::string& platformName) const {
    const auto data = getSnsData(platformName);
    return data && data->shareText ? data->shareText : shareText;
}

SHSImageObject SHSBarEntity::shareImageFor(const std::string& platformName) const {
    const auto data = getSnsData(platformName);
    return data && SHSImageObjectIsSet(data->shareImage) ? data->shareImage : shareImage;
}

std::shared_ptr<SHSocialUrlResource> SHSBarEntity::urlResourceFor(
    const std::string& platformName) const {
    const auto data = getSnsData(platformName);
    return data && data->urlResource && data->urlResource->resourceType != 0 ? data->urlResource
                                                                             : urlResource;
}

void SHSBarEntity::writeToCache() const {
    const auto manager = SHSDataManager::currentDataManager();
    manager->setBarEntity(manager->barEntity());
}
