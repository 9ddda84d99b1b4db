#include "SocialSDK/service/SHSUserManager.h"

#include <algorithm>
#include <cctype>

#include "SocialSDK/service/SHSCacheManager.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "platform/foundation/UserDefaults.h"

namespace {

constexpr const char* kUidKey = "SHSocial_uid";
constexpr const char* kAccountsKey = "SHSocialAccountEntity";
constexpr const char* kCommentShareKey = "CommentShareAccountDic";

}  // namespace

SHSUserManager::SHSUserManager() {
    snsAccountDictionary();
    commentShareAccountDic();
}

bool SHSUserManager::isUidAvailable(const std::optional<std::string>& uid) {
    if (!uid || uid->empty())
        return false;
    std::string lower = *uid;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("null") == std::string::npos;
}

std::optional<std::string> SHSUserManager::uid() {
    if (isUidAvailable(m_uid))
        return m_uid;
    if (auto stored = platform::UserDefaults::standard().stringForKey(kUidKey);
        isUidAvailable(stored)) {
        m_uid = stored;
        return m_uid;
    }
    const auto appkey = SHSDataManagerSet::shareInstance().appkey();
    if (auto stored =
            SHSCacheManager::shareInstance().getValueFromDocument("uid-" + appkey.value_or(""));
        isUidAvailable(stored)) {
        m_uid = stored;
        return m_uid;
    }
    return std::nullopt;
}

void SHSUserManager::setUid(const std::string& uid) {
    m_uid = uid;
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString(uid, kUidKey);
    defaults.synchronize();
}

std::optional<std::string> SHSUserManager::userName() {
    if (!m_userName)
        m_userName = SHSCacheManager::shareInstance().getValueFromDocument("userName");
    return m_userName;
}

void SHSUserManager::setUserName(const std::string& userName) {
    m_userName = userName;
    SHSCacheManager::shareInstance().setValueInDocument(userName, "userName");
}

SHSUserManager::AccountDictionary SHSUserManager::snsAccountDictionary() {
    if (!m_snsAccounts) {
        AccountDictionary accounts;
        const auto stored = SHSCacheManager::shareInstance().cachedObject(kAccountsKey);
        if (stored && stored->is_object()) {
            for (const auto& [name, archive] : stored->items()) {
                if (auto account = SHSocialAccountEntity::fromArchive(archive))
                    accounts[name] = std::move(account);
            }
        }
        m_snsAccounts = std::move(accounts);
    }
    return *m_snsAccounts;
}

void SHSUserManager::setSnsAccountDictionary(AccountDictionary accounts) {
    platform::Json archive = platform::Json::object();
    for (const auto& [name, account] : accounts) {
        if (account)
            archive[name] = account->toArchive();
    }
    m_snsAccounts = std::move(accounts);
    SHSCacheManager::shareInstance().setCacheData(archive, kAccountsKey);
}

platform::Json SHSUserManager::commentShareAccountDic() {
    if (!m_commentShareAccounts) {
        const auto stored = SHSCacheManager::shareInstance().cachedObject(kCommentShareKey);
        m_commentShareAccounts = stored && stored->is_object() ? *stored : platform::Json::object();
    }
    return *m_commentShareAccounts;
}

void SHSUserManager::setCommentShareAccountDic(platform::Json accounts) {
    if (!accounts.is_object())
        accounts = platform::Json::object();
    m_commentShareAccounts = accounts;
    SHSCacheManager::shareInstance().setCacheData(accounts, kCommentShareKey);
}

std::optional<std::string> SHSUserManager::friendCacheKey(const std::string& snsName) {
    const auto accounts = snsAccountDictionary();
    const auto it = accounts.find(snsName);
    // Without an account on the platform there is no one the friends belong to.
    if (it == accounts.end() || !it->second || !it->second->usid || it->second->usid->empty())
        return std::nullopt;
    return "SHSFriendEntity-" + snsName + "-" + *it->second->usid;
}

std::optional<SHSUserManager::FriendDictionary> SHSUserManager::friendsDictionaryWithSnsName(
    const std::string& snsName) {
    if (const auto it = m_friends.find(snsName); it != m_friends.end())
        return it->second;
    const auto key = friendCacheKey(snsName);
    if (!key)
        return std::nullopt;
    const auto stored = SHSCacheManager::shareInstance().cachedObject(*key);
    if (!stored || !stored->is_object())
        return std::nullopt;
    FriendDictionary friends;
    for (const auto& [usid, archive] : stored->items()) {
        if (auto friendEntity = SHSFriendEntity::fromArchive(archive))
            friends[usid] = std::move(friendEntity);
    }
    m_friends[snsName] = friends;
    return friends;
}

void SHSUserManager::setFriendsDictionary(FriendDictionary friends, const std::string& snsName) {
    platform::Json archive = platform::Json::object();
    for (const auto& [usid, friendEntity] : friends) {
        if (friendEntity)
            archive[usid] = friendEntity->toArchive();
    }
    m_friends[snsName] = std::move(friends);
    if (const auto key = friendCacheKey(snsName))
        SHSCacheManager::shareInstance().setCacheData(archive, *key);
}
