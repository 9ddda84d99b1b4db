#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialResponseEntity.h"
#include "platform/foundation/Json.h"

// The SDK's questions about a user's platform accounts, over the user manager's account
// dictionary: whether a platform is authorised, whether its token still holds, storing and
// uploading an account. Class-level only; main thread.
class SHSocialAccountManager {
public:
    static constexpr const char* kLoginAccountKey = "loginAccount";
    static constexpr const char* kDefaultAccountKey = "defaultAccount";

    static std::map<std::string, std::shared_ptr<SHSocialAccountEntity>> socialAccountDictionary();

    // Counts op "28" (from the source when given), refreshes the default subject and uploads
    // the account (action 15).
    static void postSnsAccountInternal(const std::shared_ptr<SHSocialAccountEntity>& account,
                                       SHSocialResponseCompletion completion,
                                       const std::optional<std::string>& sourceRequestType);
    static void postSnsAccount(const std::shared_ptr<SHSocialAccountEntity>& account,
                               SHSocialResponseCompletion completion);
    static void postAppInfo(const platform::Json& appInfo, SHSocialResponseCompletion completion);
    static void postCustomAccount(const std::shared_ptr<SHSocialCustomAccount>& account,
                                  SHSocialResponseCompletion completion);

    // Stores the account under its platform name; the other platforms' accounts stay.
    static void setSnsAccount(const std::shared_ptr<SHSocialAccountEntity>& account);

    static bool isLoginWithSnsAccount();
    static bool isLoginWithAnonymous();
    static void setIsLoginWithAnonymous(bool anonymous);
    static bool isLogin();

    // The platform's account has a usid.
    static bool isOauthWithPlatform(const std::string& platformName);
    // ... and its token has not expired: a token expiring exactly now still counts.
    static bool isOauthAndTokenNotExpired(const std::string& platformName);
};
