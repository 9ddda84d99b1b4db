#include "SocialSDK/service/SHSUserManager.h"

#include <algorithm>
#include <cctype>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSCacheManager.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSocialHandlerClasses.h"
#include "SocialSDK/service/SHSocialSnsPlatformManagerInternal.h"
#include "platform/foundation/UserDefaults.h"

namespace {

constexpr const char* kUidKey = "SHSocial_uid";
constexpr const char* kAccountsKey = "SHSocialAccountEntity";
constexpr const char* kCommentShareKey = "CommentShareAccountDic";
constexpr const char* kLocationKey = "userUseLocationSetting";

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
        const auto stored = SHSCacheManager::shareInstance().cachedObject(kAccountsKey);
        m_snsAccounts = stored ? accountsFromArchive(*stored) : AccountDictionary();
    }
    return *m_snsAccounts;
}

void SHSUserManager::setSnsAccountDictionary(AccountDictionary accounts) {
    auto archive = archiveOfAccounts(accounts);
    m_snsAccounts = std::move(accounts);
    SHSCacheManager::shareInstance().setCacheData(archive, kAccountsKey);
}

platform::Json SHSUserManager::archiveOfAccounts(const AccountDictionary& accounts) {
    platform::Json archive = platform::Json::object();
    for (const auto& [name, account] : accounts) {
        if (account)
            archive[name] = account->toArchive();
    }
    return archive;
}

SHSUserManager::AccountDictionary SHSUserManager::accountsFromArchive(
    const platform::Json& archive) {
    AccountDictionary accounts;
    if (!archive.is_object())
        return accounts;
    for (const auto& [name, fields] : archive.items()) {
        if (auto account = SHSocialAccountEntity::fromArchive(fields))
            accounts[name] = std::move(account);
    }
    return accounts;
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

std::optional<std::vector<std::shared_ptr<SHSFriendEntity>>>
SHSUserManager::atFriendsDictionaryWithSnsName(const std::string& snsName) {
    if (const auto it = m_atFriends.find(snsName); it != m_atFriends.end())
        return it->second;
    const auto key = friendCacheKey(snsName);
    if (!key)
        return std::nullopt;
    const auto stored = SHSCacheManager::shareInstance().cachedObject(*key + "-at");
    if (!stored || !stored->is_array())
        return std::nullopt;
    std::vector<std::shared_ptr<SHSFriendEntity>> friends;
    for (const auto& archive : *stored) {
        if (auto friendEntity = SHSFriendEntity::fromArchive(archive))
            friends.push_back(std::move(friendEntity));
    }
    m_atFriends[snsName] = friends;
    return friends;
}

void SHSUserManager::setAtFriendsArray(std::vector<std::shared_ptr<SHSFriendEntity>> friends,
                                       const std::string& snsName) {
    platform::Json archive = platform::Json::array();
    for (const auto& friendEntity : friends) {
        if (friendEntity)
            archive.push_back(friendEntity->toArchive());
    }
    m_atFriends[snsName] = std::move(friends);
    if (const auto key = friendCacheKey(snsName))
        SHSCacheManager::shareInstance().setCacheData(archive, *key + "-at");
}

void SHSUserManager::forgetFriends(const std::string& snsName) {
    m_friends.erase(snsName);
    m_atFriends.erase(snsName);
}

bool SHSUserManager::isSyncWithPlatform(const std::string& snsName) {
    const auto accounts = commentShareAccountDic();
    return accounts.contains(snsName);
}

bool SHSUserManager::useLocation() {
    auto& defaults = platform::UserDefaults::standard();
    if (!defaults.objectForKey(kLocationKey)) {
        defaults.setBool(true, kLocationKey);
        defaults.synchronize();
        return true;
    }
    return defaults.boolForKey(kLocationKey);
}

bool SHSUserManager::isPlatformTypeValid(const std::string& snsName) {
    const int type = SHSocialSnsPlatformManagerInternal::getSnsPlatformType(snsName);
    if (type == 0)
        return false;
    if (type == 9 || (type >= 10 && type <= 15) || type == 19)
        return true;
    if (type >= 1 && type <= 8) {
        SHSocialUtils::outLog("snsType invalid!");
        return false;
    }
    SHSocialUtils::outLog("This platform can not do the action!");
    return false;
}

namespace {

SHSParamDictionary paramsWith(SHSocialResponseCompletion completion) {
    SHSParamDictionary params;
    params.completion = std::move(completion);
    return params;
}

std::string joinedWithCommas(const std::vector<std::string>& parts) {
    std::string text;
    for (const auto& part : parts) text += (text.empty() ? "" : ",") + part;
    return text;
}

void queue(int action, SHSParamDictionary params) {
    SHSDataManager::currentDataManager()->doActionWithType(action, std::move(params));
}

}  // namespace

void SHSUserManager::requestSnsAccount(SHSocialResponseCompletion completion) {
    requestSnsAccountAfterBar(std::move(completion), false);
}

void SHSUserManager::requestSnsAccountAfterBar(SHSocialResponseCompletion completion,
                                               bool barAsked) {
    if (!uid()) {
        // A bar reply of 200 that brings no uid would otherwise ask again for ever: the bar
        // data is fetched once per request.
        if (barAsked) {
            SHSocialUtils::outLog("no uid after the bar data, the accounts are not requested");
            return;
        }
        SHSDataManager::currentDataManager()->requestBarInfo(
            [completion](std::shared_ptr<SHSocialResponseEntity> response) {
                if (response && response->responseCode == SHSResponseCodeSuccess)
                    SHSUserManager::shareInstance().requestSnsAccountAfterBar(completion, true);
            });
        return;
    }
    queue(SHSActionTypeGetAccounts, paramsWith(std::move(completion)));
}

void SHSUserManager::requestAddSnsAccount(const std::shared_ptr<SHSocialAccountEntity>& account,
                                          SHSocialResponseCompletion completion) {
    auto params = paramsWith(std::move(completion));
    params.snsAccount = account;
    queue(SHSActionTypePostToken, std::move(params));
}

void SHSUserManager::requestIsTokenValid(const std::vector<std::string>& platformNames,
                                         SHSocialResponseCompletion completion) {
    auto params = paramsWith(std::move(completion));
    params.values["platforms"] = joinedWithCommas(platformNames);
    queue(SHSActionTypeValidateToken, std::move(params));
}

void SHSUserManager::requestAppInfo(SHSocialResponseCompletion completion) {
    queue(SHSActionTypeGetAppInfo, paramsWith(std::move(completion)));
}

void SHSUserManager::requestSnsInformation(const std::string& snsName,
                                           SHSocialResponseCompletion completion) {
    if (!isPlatformTypeValid(snsName))
        return;
    auto params = paramsWith(std::move(completion));
    params.values["displayName"] = snsName;
    queue(SHSActionTypeGetSnsProfile, std::move(params));
}

void SHSUserManager::requestBindingSNSWithTye(const std::string& snsName,
                                              SHSocialResponseCompletion completion) {
    if (!isPlatformTypeValid(snsName))
        return;
    auto params = paramsWith(std::move(completion));
    params.values["displayName"] = snsName;
    queue(SHSActionTypeBinding, std::move(params));
    requestSnsAccount({});
}

void SHSUserManager::requestUnBindingSNS(SHSocialResponseCompletion completion) {
    auto params = paramsWith([completion](std::shared_ptr<SHSocialResponseEntity> response) {
        if (response && response->responseCode == SHSResponseCodeSuccess) {
            auto& users = SHSUserManager::shareInstance();
            auto accounts = users.snsAccountDictionary();
            accounts.erase("loginAccount");
            accounts.erase("defaultAccount");
            users.setSnsAccountDictionary(std::move(accounts));
        }
        if (completion)
            completion(response);
    });
    queue(SHSActionTypeUnbinding, std::move(params));
}

void SHSUserManager::requestUnOauthToPlatform(const std::string& snsName,
                                              SHSocialResponseCompletion completion) {
    static const std::pair<const char*, const char*> kSignOutClasses[] = {
        {"facebook", "SHSocialFacebookHandler"},
        {"twitter", "SHSocialTwitterHandler"},
        {"sina", "SHSocialSinaSSOHandler"}};
    for (const auto& [name, className] : kSignOutClasses) {
        if (snsName != name)
            continue;
        if (auto handler = SHSocialHandlerClasses::classNamed(className)) {
            handler->unOauth(std::move(completion));
            return;
        }
    }
    bool tested = true;
    if (snsName == "tencent") {
        if (auto handler = SHSocialHandlerClasses::classNamed("SHSocialTencentWeiboHandler")) {
            handler->cancelAuth();
            tested = false;
        }
    }
    if (tested && !isPlatformTypeValid(snsName))
        return;
    auto accounts = snsAccountDictionary();
    accounts.erase(snsName);
    setSnsAccountDictionary(std::move(accounts));
    if (completion) {
        auto response = std::make_shared<SHSocialResponseEntity>();
        response->responseCode = SHSResponseCodeSuccess;
        response->responseType = SHSActionTypeDeleteAuth;
        completion(response);
    }
    SHSParamDictionary params;
    params.values["displayName"] = snsName;
    queue(SHSActionTypeDeleteAuth, std::move(params));
}

void SHSUserManager::requestGetFriends(const std::string& snsName,
                                       SHSocialResponseCompletion completion) {
    if (!isPlatformTypeValid(snsName))
        return;
    auto params = paramsWith(std::move(completion));
    params.values["displayName"] = snsName;
    queue(SHSActionTypeGetFriends, std::move(params));
}

void SHSUserManager::requestAddFollow(const std::string& snsName,
                                      const std::vector<std::string>& usids,
                                      SHSocialResponseCompletion completion) {
    if (!isPlatformTypeValid(snsName))
        return;
    auto params = paramsWith(std::move(completion));
    params.values["displayName"] = snsName;
    params.values["fusid"] = joinedWithCommas(usids);
    queue(SHSActionTypeFollow, std::move(params));
}

void SHSUserManager::requestAddCustomAccount(const std::shared_ptr<SHSocialCustomAccount>& account,
                                             SHSocialResponseCompletion completion) {
    auto params = paramsWith(std::move(completion));
    params.customAccount = account;
    queue(SHSActionTypeCustomAccount, std::move(params));
}
