#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/service/SHSFriendEntity.h"
#include "SocialSDK/service/SHSSharedInstance.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "platform/foundation/Json.h"

// The share SDK's current user: the service-assigned uid, the user name, the platform
// accounts, the comment-share accounts and the friends per platform, each kept between
// launches (user defaults, the Library plist, the SDK cache).
class SHSUserManager {
public:
    using AccountDictionary = std::map<std::string, std::shared_ptr<SHSocialAccountEntity>>;
    using FriendDictionary = std::map<std::string, std::shared_ptr<SHSFriendEntity>>;

    static SHSUserManager& shareInstance() { return SHSSharedInstance<SHSUserManager>::get(); }
    static void resetSharedInstance() { SHSSharedInstance<SHSUserManager>::reset(); }

    // False for none, "" and any text whose lower-case form contains "null".
    static bool isUidAvailable(const std::optional<std::string>& uid);

    // The held uid; when it is not usable, the one in the user defaults ("SHSocial_uid"), then
    // the Library plist's "uid-<application key>", each used only when usable.
    std::optional<std::string> uid();
    // Keeps the uid and writes it to the user defaults at once.
    void setUid(const std::string& uid);

    std::optional<std::string> userName();
    void setUserName(const std::string& userName);

    // Platform name (and the reserved "loginAccount", "defaultAccount") -> account.
    AccountDictionary snsAccountDictionary();
    void setSnsAccountDictionary(AccountDictionary accounts);
    // Platform name -> the user's usid there, for comments shared to platforms.
    platform::Json commentShareAccountDic();
    void setCommentShareAccountDic(platform::Json accounts);

    // The friends on a platform: kept in memory, else the cache entry of the platform's
    // current account; nothing when neither exists.
    std::optional<FriendDictionary> friendsDictionaryWithSnsName(const std::string& snsName);
    // Kept in memory, and cached under the platform's current account when there is one.
    void setFriendsDictionary(FriendDictionary friends, const std::string& snsName);

private:
    friend class SHSSharedInstance<SHSUserManager>;
    SHSUserManager();

    std::optional<std::string> friendCacheKey(const std::string& snsName);

    std::optional<std::string> m_uid;
    std::optional<std::string> m_userName;
    std::optional<AccountDictionary> m_snsAccounts;
    std::optional<platform::Json> m_commentShareAccounts;
    std::map<std::string, FriendDictionary> m_friends;
};
