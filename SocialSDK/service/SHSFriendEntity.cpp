#include "SocialSDK/service/SHSFriendEntity.h"

#include "SocialSDK/service/SHSArchive.h"

platform::Json SHSFriendEntity::toArchive() const {
    using namespace shsarchive;
    platform::Json archive = platform::Json::object();
    putText(archive, "linkName", linkName);
    putText(archive, "name", name);
    putText(archive, "imageURL", imageURL);
    putText(archive, "usid", usid);
    putText(archive, "pinyin", pinyin);
    return archive;
}

std::shared_ptr<SHSFriendEntity> SHSFriendEntity::fromArchive(const platform::Json& archive) {
    using namespace shsarchive;
    if (!archive.is_object())
        return nullptr;
    auto friendEntity = std::make_shared<SHSFriendEntity>();
    friendEntity->linkName = text(archive, "linkName");
    friendEntity->name = text(archive, "name");
    friendEntity->imageURL = text(archive, "imageURL");
    friendEntity->usid = text(archive, "usid");
    friendEntity->pinyin = text(archive, "pinyin");
    return friendEntity;
}
