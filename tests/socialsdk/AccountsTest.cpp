#include <gtest/gtest.h>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

namespace sharetest {
namespace {

using std::chrono::seconds;

class AccountsTest : public ShareSdkTest {
protected:
    std::shared_ptr<SHSocialAccountEntity> store(const std::string& platform,
                                                 std::optional<seconds> expiresIn) {
        auto account = std::make_shared<SHSocialAccountEntity>(platform);
        account->usid = "usid-" + platform;
        if (expiresIn)
            account->expirationDate = now + *expiresIn;
        SHSocialAccountManager::setSnsAccount(account);
        return account;
    }

    std::vector<std::string> sdkLog() {
        SHSocialUtils::setOpenLog(true);
        SHSocialUtils::setLogSink([this](const std::string& line) { lines.push_back(line); });
        return lines;
    }

    std::vector<std::string> lines;
};

TEST_F(AccountsTest, TokenExpiryIsJudgedAgainstNow) {
    store("tencent", seconds(0));
    EXPECT_TRUE(SHSocialAccountManager::isOauthAndTokenNotExpired("tencent"))
        << "a token that expires exactly now still counts";
    store("tencent", seconds(-1));
    EXPECT_FALSE(SHSocialAccountManager::isOauthAndTokenNotExpired("tencent"));
    EXPECT_TRUE(SHSocialAccountManager::isOauthWithPlatform("tencent"));
    store("tencent", seconds(1));
    EXPECT_TRUE(SHSocialAccountManager::isOauthAndTokenNotExpired("tencent"));
    store("tencent", std::nullopt);
    EXPECT_TRUE(SHSocialAccountManager::isOauthAndTokenNotExpired("tencent"));

    // A fresh account (empty usid) is authorised already.
    SHSocialAccountManager::setSnsAccount(std::make_shared<SHSocialAccountEntity>("douban"));
    EXPECT_TRUE(SHSocialAccountManager::isOauthAndTokenNotExpired("douban"));
}

TEST_F(AccountsTest, MissingAndUnknownPlatformsAreNotAuthorised) {
    sdkLog();
    EXPECT_FALSE(SHSocialAccountManager::isOauthAndTokenNotExpired("renren"));
    EXPECT_TRUE(lines.empty()) << "a known name without an account is silent";
    EXPECT_FALSE(SHSocialAccountManager::isOauthAndTokenNotExpired("wxsession"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("platformType wxsession error"), std::string::npos);
}

TEST_F(AccountsTest, StoringAnAccountReplacesOnlyItsPlatform) {
    store("tencent", std::nullopt);
    store("douban", std::nullopt);
    auto replacement = std::make_shared<SHSocialAccountEntity>("tencent");
    replacement->usid = "other";
    SHSocialAccountManager::setSnsAccount(replacement);
    resetShareSdk();  // as after a restart: read back from the cache
    const auto accounts = SHSocialAccountManager::socialAccountDictionary();
    ASSERT_EQ(accounts.size(), 2u);
    EXPECT_EQ(accounts.at("tencent")->usid, "other");
    EXPECT_EQ(accounts.at("douban")->usid, "usid-douban");
}

TEST_F(AccountsTest, AnonymousLoginCountsAsLogin) {
    EXPECT_FALSE(SHSocialAccountManager::isLogin());
    SHSocialAccountManager::setIsLoginWithAnonymous(true);
    EXPECT_TRUE(SHSocialAccountManager::isLogin());
    EXPECT_FALSE(SHSocialAccountManager::isLoginWithSnsAccount());
}

TEST_F(AccountsTest, ArchiveRoundTripsKeepAndDropTheStatedFields) {
    SHSocialAccountEntity account("qzone");
    account.usid = "u1";
    account.refreshToken = "refresh";
    account.refreshDate = now;
    account.expirationDate = now + seconds(3600);
    account.openId = "open";
    account.unionId = "union";
    account.permissions = {"read", "write"};
    const auto back = SHSocialAccountEntity::fromArchive(account.toArchive());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->platformName, "qzone");
    EXPECT_EQ(back->refreshToken, "refresh");
    using std::chrono::milliseconds;
    ASSERT_TRUE(back->refreshDate && back->expirationDate);
    EXPECT_EQ(std::chrono::duration_cast<milliseconds>(back->refreshDate->time_since_epoch()),
              std::chrono::duration_cast<milliseconds>(now.time_since_epoch()));
    EXPECT_EQ(std::chrono::duration_cast<milliseconds>(*back->expirationDate - *back->refreshDate),
              milliseconds(3'600'000));
    EXPECT_EQ(back->permissions, account.permissions);
    EXPECT_FALSE(back->openId);
    EXPECT_FALSE(back->unionId);
    EXPECT_FALSE(back->isFirstOauth);

    SHSFriendEntity friendEntity;
    friendEntity.name = "李雷";
    friendEntity.linkName = "lilei";
    friendEntity.imageURL = "http://img.lanxi-campus.example/l.png";
    friendEntity.usid = "f1";
    friendEntity.pinyin = "lilei";
    const auto friendBack = SHSFriendEntity::fromArchive(friendEntity.toArchive());
    ASSERT_TRUE(friendBack);
    EXPECT_EQ(friendBack->name, friendEntity.name);
    EXPECT_EQ(friendBack->linkName, friendEntity.linkName);
    EXPECT_EQ(friendBack->imageURL, friendEntity.imageURL);
    EXPECT_EQ(friendBack->usid, friendEntity.usid);
    EXPECT_EQ(friendBack->pinyin, friendEntity.pinyin);
}

TEST_F(AccountsTest, FriendListsBelongToTheAccountAndNeedOne) {
    auto& users = SHSUserManager::shareInstance();
    auto friendEntity = std::make_shared<SHSFriendEntity>();
    friendEntity->usid = "f1";
    users.setFriendsDictionary({{"f1", friendEntity}}, "tencent");
    resetShareSdk();
    EXPECT_FALSE(SHSUserManager::shareInstance().friendsDictionaryWithSnsName("tencent"))
        << "no friend cache is written under a missing account";

    store("tencent", std::nullopt);
    SHSUserManager::shareInstance().setFriendsDictionary({{"f1", friendEntity}}, "tencent");
    resetShareSdk();
    EXPECT_TRUE(SHSUserManager::shareInstance().friendsDictionaryWithSnsName("tencent"));
    auto other = std::make_shared<SHSocialAccountEntity>("tencent");
    other->usid = "another";
    SHSocialAccountManager::setSnsAccount(other);
    resetShareSdk();
    EXPECT_FALSE(SHSUserManager::shareInstance().friendsDictionaryWithSnsName("tencent"));
}

TEST_F(AccountsTest, PlatformTypeValidityAndLocationSetting) {
    EXPECT_TRUE(SHSUserManager::isPlatformTypeValid("qzone"));
    EXPECT_TRUE(SHSUserManager::isPlatformTypeValid("douban"));
    EXPECT_FALSE(SHSUserManager::isPlatformTypeValid("email"));
    EXPECT_FALSE(SHSUserManager::isPlatformTypeValid("wxsession"));
    EXPECT_TRUE(SHSUserManager::shareInstance().useLocation());
    EXPECT_TRUE(platform::UserDefaults::standard().objectForKey("userUseLocationSetting"));
}

}  // namespace
}  // namespace sharetest
