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
