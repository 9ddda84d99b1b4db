#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/service/SHSFriendEntity.h"
#include "SocialSDK/service/SHSSharedInstance.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"
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
    // The accounts as they are kept between launches (name -> account record, absent accounts
    // left out), and back; records that are not accounts, and an archive that is not a
    // dictionary, give none.
    static platform::Json archiveOfAccounts(const AccountDictionary& accounts);
    static AccountDictionary accountsFromArchive(const platform::Json& archive);
    // Platform name -> the user's usid there, for comments shared to platforms.
    platform::Json commentShareAccountDic();
    void setCommentShareAccountDic(platform::Json accounts);

    // The friends on a platform: kept in memory, else the cache entry of the platform's
    // current account; nothing when neither exists.
    std::optional<FriendDictionary> friendsDictionaryWithSnsName(const std::string& snsName);
    // Kept in memory, and cached under the platform's current account when there is one.
    void setFriendsDictionary(FriendDictionary friends, const std::string& snsName);

    // The recently mentioned friends on a platform, kept like the friend lists ("-at" key).
    std::optional<std::vector<std::shared_ptr<SHSFriendEntity>>> atFriendsDictionaryWithSnsName(
        const std::string& snsName);
    void setAtFriendsArray(std::vector<std::shared_ptr<SHSFriendEntity>> friends,
                           const std::string& snsName);
    // Drops the platform's friends and mentions held in memory (after an account switch, the
    // next read takes the new account's cache entries; the old account's stay cached).
    void forgetFriends(const std::string& snsName);

    // The platform has a comment-share account.
    bool isSyncWithPlatform(const std::string& snsName);
    // Whether comments and shares may carry the location; true (and stored) when never set.
    bool useLocation();

    // Platform types that the account actions accept: 9 to 15 and 19 (logged refusals for
    // the others, silent for names that are not registered).
    static bool isPlatformTypeValid(const std::string& snsName);

    // --- Requests, each one job of the current data manager --------------------------------
    // The user's accounts (action 10). Without a uid the subject's bar data is fetched first,
    // and the accounts are asked again once only.
    void requestSnsAccount(SHSocialResponseCompletion completion);
    void requestAddSnsAccount(const std::shared_ptr<SHSocialAccountEntity>& account,
                              SHSocialResponseCompletion completion);  // 15
    void requestIsTokenValid(const std::vector<std::string>& platformNames,
                             SHSocialResponseCompletion completion);  // 17
    void requestAppInfo(SHSocialResponseCompletion completion);       // 16
    void requestSnsInformation(const std::string& snsName,
                               SHSocialResponseCompletion completion);  // 11
    void requestBindingSNSWithTye(const std::string& snsName,
                                  SHSocialResponseCompletion completion);  // 6
    // On success the reserved login keys leave the accounts; the caller hears every result.
    void requestUnBindingSNS(SHSocialResponseCompletion completion);  // 7
    // Forgets the platform's account and reports 200 at once, then tells the service (8).
    void requestUnOauthToPlatform(const std::string& snsName,
                                  SHSocialResponseCompletion completion);
    void requestGetFriends(const std::string& snsName,
                           SHSocialResponseCompletion completion);  // 12
    void requestAddFollow(const std::string& snsName, const std::vector<std::string>& usids,
                          SHSocialResponseCompletion completion);  // 13
    void requestAddCustomAccount(const std::shared_ptr<SHSocialCustomAccount>& account,
                                 SHSocialResponseCompletion completion);  // 14

private:
    friend class SHSSharedInstance<SHSUserManager>;
    void requestSnsAccountAfterBar(SHSocialResponseCompletion completion, bool barAsked);
    SHSUserManager();

    std::optional<std::string> friendCacheKey(const std::string& snsName);

    std::optional<std::string> m_uid;
    std::optional<std::string> m_userName;
    std::optional<AccountDictionary> m_snsAccounts;
    std::optional<platform::Json> m_commentShareAccounts;
    std::map<std::string, FriendDictionary> m_friends;
    std::map<std::string, std::vector<std::shared_ptr<SHSFriendEntity>>> m_atFriends;
};
