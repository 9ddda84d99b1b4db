#include "SocialSDK/service/SHSocialAccountEntity.h"

#include "SocialSDK/service/SHSArchive.h"

SHSocialAccountEntity::SHSocialAccountEntity(std::string name)
    : platformName(std::move(name)),
      userName(""),
      usid(""),
      iconURL(""),
      accessToken(""),
      refreshToken(""),
      profileURL(""),
      accessSecret("") {}

platform::Json SHSocialAccountEntity::toArchive() const {
    using namespace shsarchive;
    platform::Json archive = platform::Json::object();
    archive["platformName"] = platformName;
    putText(archive, "userName", userName);
    putText(archive, "usid", usid);
    putText(archive, "iconURL", iconURL);
    putText(archive, "accessToken", accessToken);
    putText(archive, "accessSecret", accessSecret);
    putText(archive, "profileURL", profileURL);
    putDate(archive, "expirationDate", expirationDate);
    putDate(archive, "refreshDate", refreshDate);
    putText(archive, "refreshToken", refreshToken);
    putText(archive, "appId", appId);
    archive["permissions"] = permissions;
    archive["dePermissions"] = dePermissions;
    return archive;
}

std::shared_ptr<SHSocialAccountEntity> SHSocialAccountEntity::fromArchive(
    const platform::Json& archive) {
    using namespace shsarchive;
    if (!archive.is_object())
        return nullptr;
    auto account =
        std::make_shared<SHSocialAccountEntity>(text(archive, "platformName").value_or(""));
    account->userName = text(archive, "userName");
    account->usid = text(archive, "usid");
    account->iconURL = text(archive, "iconURL");
    account->accessToken = text(archive, "accessToken");
    account->accessSecret = text(archive, "accessSecret");
    account->profileURL = text(archive, "profileURL");
    account->expirationDate = date(archive, "expirationDate");
    account->refreshDate = date(archive, "refreshDate");
    account->refreshToken = text(archive, "refreshToken");
    account->appId = text(archive, "appId");
    account->permissions = texts(archive, "permissions");
    account->dePermissions = texts(archive, "dePermissions");
    account->isFirstOauth = false;
    return account;
}

std::string SHSocialAccountEntity::description() const {
    platform::Json fields = platform::Json::object();
    auto date = [](const std::optional<Date>& value) -> std::optional<platform::Json> {
        if (!value)
            return std::nullopt;
        return platform::Json(std::chrono::duration<double>(value->time_since_epoch()).count());
    };
    auto text = [](const std::optional<std::string>& value) -> std::optional<platform::Json> {
        if (!value)
            return std::nullopt;
        return platform::Json(*value);
    };
    const std::pair<const char*, std::optional<platform::Json>> ordered[] = {
        {"platformName", platform::Json(platformName)},
        {"userName", text(userName)},
        {"usid", text(usid)},
        {"iconURL", text(iconURL)},
        {"accessToken", text(accessToken)},
        {"accessSecret", text(accessSecret)},
        {"profileURL", text(profileURL)},
        {"expirationDate", date(expirationDate)},
        {"refreshDate", date(refreshDate)},
        {"refreshToken", text(refreshToken)},
        {"appId", text(appId)},
        {"permissions", platform::Json(permissions)},
        {"dePermissions", platform::Json(dePermissions)},
        {"unionId", text(unionId)},
    };
    // The list ends at its first missing value, as a list of pairs closed by the first nil.
    for (const auto& [key, value] : ordered) {
        if (!value)
            break;
        fields[key] = *value;
    }
    if (refreshToken)
        fields["refreshToken"] = *refreshToken;
    return fields.dump(2, ' ', false, platform::Json::error_handler_t::replace);
}
