// What the share service's replies do to the state the SDK keeps: a like reply to the subject's
// bar, an accounts reply to the user's platform accounts. Through the data service, against
// the fake share service.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/service/SHSBarEntity.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

using platform::Json;

namespace sharetest {
namespace {

constexpr const char* kEntityKey = "ek-like-5a1c";
constexpr const char* kUid = "lanxi-u-000128";
const std::string kLikePath = std::string("/share/like/update/") + kAppKey + "/" + kEntityKey + "/";
const std::string kProfilePath =
    std::string("/share/user/profile/get/") + kAppKey + "/" + kUid + "/";

class SubjectRepliesTest : public ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        startShareService();
        // A subject the service knows, liked by 4 others, not by the user.
        answerWith("GET", std::string("/share/bar/get/") + kAppKey + "/",
                   Json{{"st", 200}, {"data", {{"ek", kEntityKey}, {"lk", 4}, {"fr", false}}}});
        service = SHSocialDataService::defaultDataService();
        std::shared_ptr<SHSocialResponseEntity> bar;
        service->requestSocialDataWithCompletion(storeIn(bar));
        ASSERT_TRUE(waitFor(bar));
        ASSERT_TRUE(platform::RunLoop::main().runUntil(
            [] { return platform::HttpClient::shared().inFlight() == 0; }));
        ASSERT_EQ(manager()->barEntity()->entityKey, kEntityKey);
    }
    void TearDown() override {
        service.reset();
        ShareSdkTest::TearDown();
    }

    std::shared_ptr<SHSDataManager> manager() const {
        return SHSDataManager::getDataManager(SHSocialData::kDefaultIdentifier);
    }
    std::pair<bool, int> likeState() const {
        const auto bar = manager()->barEntity();
        EXPECT_EQ(service->socialData->isLike(), bar->isLike);
        return {bar->isLike, service->socialData->getNumber(0)};
    }
    // Sends a like (or unlike) and waits for its reply.
    std::shared_ptr<SHSocialResponseEntity> toggleLike() {
        std::shared_ptr<SHSocialResponseEntity> reply;
        service->postAddLikeOrCancelWithCompletion(storeIn(reply));
        EXPECT_TRUE(waitFor(reply));
        return reply;
    }
    // What the like requests asked for, in order: "1" to like, "0" to take it back (the
    // sealed form the service opens).
    std::vector<std::string> likesAsked() const {
        std::vector<std::string> asked;
        for (const auto& request : services->requestsTo(kLikePath)) {
            std::string sealed;
            for (const auto& [name, value] : fakes::decodeQuery("?" + request.body))
                if (name == "ud_post")
                    sealed = value;
            const auto opened = fakes::ShareRoutes::open(kAppKey, sealed);
            const Json fields = Json::parse(opened.value_or("null"), nullptr, false);
            asked.push_back(fields.is_object() ? fields.value("st", "?") : "?");
        }
        return asked;
    }

    static std::shared_ptr<SHSocialAccountEntity> account(const std::string& platformName,
                                                          const std::string& usid) {
        auto entry = std::make_shared<SHSocialAccountEntity>(platformName);
        entry->usid = usid;
        entry->userName = "本机的" + platformName;
        entry->accessToken = "token-" + platformName;
        return entry;
    }
    std::shared_ptr<SHSocialResponseEntity> askAccounts() {
        std::shared_ptr<SHSocialResponseEntity> reply;
        service->requestSocialAccountWithCompletion(storeIn(reply));
        EXPECT_TRUE(waitFor(reply));
        return reply;
    }
    static std::vector<std::string> accountNames() {
        std::vector<std::string> names;
        for (const auto& [name, entry] : SHSocialAccountManager::socialAccountDictionary())
            names.push_back(name);
        return names;
    }

    std::shared_ptr<SHSocialDataService> service;
};

TEST_F(SubjectRepliesTest, ALikeFlipsTheStateAndCountAndAnUnlikeFlipsThemBack) {
    answerWith("POST", kLikePath, Json{{"st", 200}, {"msg", "ok"}});
    EXPECT_EQ(likeState(), std::make_pair(false, 4));

    EXPECT_EQ(toggleLike()->responseCode, 200);
    EXPECT_EQ(likeState(), std::make_pair(true, 5));
    EXPECT_EQ(toggleLike()->responseType, SHSActionTypeLike);
    EXPECT_EQ(likeState(), std::make_pair(false, 4));
    EXPECT_EQ(likesAsked(), (std::vector<std::string>{"1", "0"}));
}

TEST_F(SubjectRepliesTest, ALikeAnsweredWithAnyOtherCodeOrNotAtAllChangesNothing) {
    for (const Json& reply : {Json{{"st", 500}, {"msg", "busy"}}, Json{{"st", 0}},
                              Json{{"st", "201"}}, Json{{"msg", "no code"}}}) {
        answerWith("POST", kLikePath, reply);
        EXPECT_NE(toggleLike()->responseCode, 200) << reply.dump();
        EXPECT_EQ(likeState(), std::make_pair(false, 4)) << reply.dump();
    }
    services->setReply("POST", kLikePath, fakes::Reply{503, "text/plain", "down"});
    EXPECT_EQ(toggleLike()->responseCode, SHSResponseCodeNetworkError);
    EXPECT_EQ(likeState(), std::make_pair(false, 4));

    // Liked already: a refused unlike keeps the like.
    answerWith("POST", kLikePath, Json{{"st", 200}});
    toggleLike();
    answerWith("POST", kLikePath, Json{{"st", 500}});
    toggleLike();
    EXPECT_EQ(likeState(), std::make_pair(true, 5));
    const auto asked = likesAsked();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), "0");
}

TEST_F(SubjectRepliesTest, AnAccountsReplyDropsTheLocalAccountsItNoLongerListsAndKeepsTheOthers) {
    SHSUserManager::shareInstance().setUid(kUid);
    for (const auto& entry : {account("qzone", "qz-old"), account("tencent", "tc-1"),
                              account("sina", "sn-1"), account("facebook", "fb-1")})
        SHSocialAccountManager::setSnsAccount(entry);
    answerWith("GET", kProfilePath,
               Json{{"st", 200},
                    {"data",
                     {{"accounts",
                       {{"qzone", {{"username", "兰溪同学"}, {"usid", "qz-550121"}}},
                        {"tencent", {{"username", "兰溪同学"}, {"usid", "tc-1"}}},
                        {"renren", {{"username", "兰溪同学"}, {"usid", "rr-9"}}}}},
                      {"default", "兰溪同学"}}}});

    EXPECT_EQ(askAccounts()->responseCode, 200);
    // "sina" is gone; "renren", never signed in here, is not added; the device's own
    // "facebook" sign-in is not the service's to drop.
    EXPECT_EQ(accountNames(),
              (std::vector<std::string>{"defaultAccount", "facebook", "qzone", "tencent"}));
    const auto accounts = SHSocialAccountManager::socialAccountDictionary();
    EXPECT_EQ(accounts.at("qzone")->usid, "qz-550121");
    EXPECT_EQ(accounts.at("qzone")->userName, "兰溪同学");
    EXPECT_EQ(accounts.at("qzone")->accessToken, "token-qzone") << "the token stays with it";
    EXPECT_EQ(accounts.at("tencent")->accessToken, "token-tencent");
    EXPECT_EQ(accounts.at("facebook")->usid, "fb-1");
    EXPECT_EQ(accounts.at("defaultAccount")->userName, "兰溪同学");
    EXPECT_FALSE(SHSocialAccountManager::isOauthWithPlatform("sina"));
}

TEST_F(SubjectRepliesTest, AnAccountsReplyThatIsNotASuccessKeepsEveryLocalAccount) {
    SHSUserManager::shareInstance().setUid(kUid);
    SHSocialAccountManager::setSnsAccount(account("qzone", "qz-old"));
    SHSocialAccountManager::setSnsAccount(account("sina", "sn-1"));
    answerWith("GET", kProfilePath, Json{{"st", 500}, {"data", {{"accounts", Json::object()}}}});
    EXPECT_EQ(askAccounts()->responseCode, 500);
    EXPECT_EQ(accountNames(), (std::vector<std::string>{"qzone", "sina"}));
    EXPECT_EQ(SHSocialAccountManager::socialAccountDictionary().at("qzone")->usid, "qz-old");
}

}  // namespace
}  // namespace sharetest
