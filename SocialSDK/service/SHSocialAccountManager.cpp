#include "SocialSDK/service/SHSocialAccountManager.h"

#include <algorithm>

#include "SocialSDK/base/SHSocialProtocolData.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "platform/foundation/UserDefaults.h"

namespace {

constexpr const char* kAnonymousKey = "loginWithAnonymous";

std::shared_ptr<SHSocialAccountEntity> accountOn(const std::string& platformName) {
    const auto accounts = SHSUserManager::shareInstance().snsAccountDictionary();
    const auto it = accounts.find(platformName);
    return it == accounts.end() ? nullptr : it->second;
}

bool knownPlatform(const std::string& platformName) {
    const auto names = SHSocialSnsPlatformManager::sharedInstance().allSnsValuesArray();
    if (std::find(names.begin(), names.end(), platformName) != names.end())
        return true;
    SHSocialUtils::outLog(
        "platformType %@ error, you should use platformType in `SHSocialSnsPlatformManager`, "
        "such as SHShareToSina.",
        platformName);
    return false;
}

}  // namespace

std::map<std::string, std::shared_ptr<SHSocialAccountEntity>>
SHSocialAccountManager::socialAccountDictionary() {
    return SHSUserManager::shareInstance().snsAccountDictionary();
}

void SHSocialAccountManager::postSnsAccountInternal(
    const std::shared_ptr<SHSocialAccountEntity>& account, SHSocialResponseCompletion completion,
    const std::optional<std::string>& sourceRequestType) {
    const std::optional<std::string> name =
        account ? std::optional<std::string>(account->platformName) : std::nullopt;
    SHSocialOpAnalytics::postSocialAnalyticsFromSourceOpType("28", sourceRequestType, name);
    SHSocialData::defaultData()->refresh();
    SHSUserManager::shareInstance().requestAddSnsAccount(account, std::move(completion));
}

void SHSocialAccountManager::postSnsAccount(const std::shared_ptr<SHSocialAccountEntity>& account,
                                            SHSocialResponseCompletion completion) {
    postSnsAccountInternal(account, std::move(completion), std::nullopt);
}

void SHSocialAccountManager::postAppInfo(const platform::Json& appInfo,
                                         SHSocialResponseCompletion completion) {
    SHSDataManager::currentDataManager()->postAppInfo(appInfo, std::move(completion));
}

void SHSocialAccountManager::postCustomAccount(
    const std::shared_ptr<SHSocialCustomAccount>& account, SHSocialResponseCompletion completion) {
    SHSUserManager::shareInstance().requestAddCustomAccount(account, std::move(completion));
}

void SHSocialAccountManager::setSnsAccount(const std::shared_ptr<SHSocialAccountEntity>& account) {
    if (!account)
        return;
    auto accounts = socialAccountDictionary();
    accounts[account->platformName] = account;
    SHSUserManager::shareInstance().setSnsAccountDictionary(std::move(accounts));
}

bool SHSocialAccountManager::isLoginWithSnsAccount() {
    return socialAccountDictionary().count(kLoginAccountKey) > 0;
}

bool SHSocialAccountManager::isLoginWithAnonymous() {
    return platform::UserDefaults::standard().boolForKey(kAnonymousKey);
}

void SHSocialAccountManager::setIsLoginWithAnonymous(bool anonymous) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setBool(anonymous, kAnonymousKey);
    defaults.synchronize();
}

bool SHSocialAccountManager::isLogin() {
    return isLoginWithSnsAccount() || isLoginWithAnonymous();
}

bool SHSocialAccountManager::isOauthWithPlatform(const std::string& platformName) {
    const auto account = accountOn(platformName);
    if (account && account->usid)
        return true;
    knownPlatform(platformName);
    return false;
}

bool SHSocialAccountManager::isOauthAndTokenNotExpired(const std::string& platformName) {
    const auto account = accountOn(platformName);
    if (account && account->usid) {
        if (!account->expirationDate)
            return true;
        return !(SHSocialProtocolData::now() > *account->expirationDate);
    }
    knownPlatform(platformName);
    return false;
}
