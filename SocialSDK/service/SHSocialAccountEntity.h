#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Json.h"

// A user's account on one share platform. A set usid means the platform is authorised.
class SHSocialAccountEntity {
public:
    using Date = std::chrono::system_clock::time_point;

    // Name kept; the texts below start empty, so a fresh account already counts as authorised.
    explicit SHSocialAccountEntity(std::string platformName);

    std::string platformName;
    std::optional<std::string> userName;
    std::optional<std::string> usid;
    std::optional<std::string> iconURL;
    std::optional<std::string> accessToken;
    std::optional<std::string> refreshToken;
    std::optional<std::string> profileURL;
    std::optional<std::string> openId;
    bool isFirstOauth = true;  // made in this run, not read from the archive
    std::optional<std::string> accessSecret;
    std::optional<Date> expirationDate;
    std::optional<Date> refreshDate;
    std::optional<std::string> unionId;
    std::optional<std::string> appId;
    std::vector<std::string> permissions;
    std::vector<std::string> dePermissions;

    // The keyed archive: thirteen fields; openId, isFirstOauth and unionId are not kept.
    platform::Json toArchive() const;
    // Nothing for a value that is not an archived account; the account read has
    // isFirstOauth false.
    static std::shared_ptr<SHSocialAccountEntity> fromArchive(const platform::Json& archive);
    // The fields as a dictionary text, in the archive's order then "unionId", ending before
    // the first field that is not set; "refreshToken" is put once more by itself when set.
    std::string description() const;
};

// An application's own user, to upload to the share service (request action 14).
class SHSocialCustomAccount {
public:
    explicit SHSocialCustomAccount(std::string userName) : userName(std::move(userName)) {}

    std::optional<std::string> userName;
    std::optional<std::string> usid;
    std::optional<std::string> gender;  // "male" or "female"
    std::optional<SHSocialAccountEntity::Date> birthday;
    std::optional<std::string> profileUrl;
    std::optional<std::string> iconUrl;
    std::optional<platform::Json> customData;
};
