#include "SocialSDK/service/SHSCommentEntity.h"

#include <algorithm>
#include <cmath>

#include "SocialSDK/base/SHSocialProtocolData.h"
#include "SocialSDK/service/SHSArchive.h"

platform::Json SHSCommentEntity::toArchive() const {
    platform::Json archive = platform::Json::object();
    shsarchive::putText(archive, "uid", uid);
    shsarchive::putText(archive, "content", content);
    shsarchive::putText(archive, "nickName", nickName);
    shsarchive::putText(archive, "userAvatar", userAvatar);
    if (location)
        archive["location"] = {{"latitude", location->latitude},
                               {"longitude", location->longitude}};
    archive["dateInterval"] = static_cast<double>(dateInterval);
    return archive;
}

std::shared_ptr<SHSCommentEntity> SHSCommentEntity::fromArchive(const platform::Json& archive) {
    using namespace shsarchive;
    if (!archive.is_object())
        return nullptr;
    auto comment = std::make_shared<SHSCommentEntity>();
    comment->uid = text(archive, "uid");
    comment->content = text(archive, "content");
    comment->nickName = text(archive, "nickName");
    comment->userAvatar = text(archive, "userAvatar");
    if (const auto it = archive.find("location"); it != archive.end() && it->is_object()) {
        const auto lat = it->find("latitude");
        const auto lng = it->find("longitude");
        if (lat != it->end() && lng != it->end() && lat->is_number() && lng->is_number())
            comment->location = SHSLocation{lat->get<double>(), lng->get<double>()};
    }
    comment->dateInterval = integer(archive, "dateInterval");
    return comment;
}

std::string SHSCommentEntity::getDateString() const {
    const long long nowSeconds = SHSocialProtocolData::nowMillis() / 1000;
    const long long age = nowSeconds - dateInterval / 1000;
    if (age >= -59 && age <= 59)
        return std::to_string(std::max(age, 0LL)) + " 秒前";
    if (age < 3660)
        return std::to_string(age / 60) + " 分钟前";
    if (age < 90000)
        return std::to_string(age / 3600) + " 小时前";
    return std::to_string(age / 86400) + " 天前";
}

std::string SHSCommentEntity::description() const {
    platform::Json fields = platform::Json::object();
    if (content)
        fields["_content"] = *content;
    if (nickName)
        fields["_nickName"] = *nickName;
    fields["_dateInterval"] = dateInterval;
    return fields.dump(2, ' ', false, platform::Json::error_handler_t::replace);
}
