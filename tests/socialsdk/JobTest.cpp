#include <gtest/gtest.h>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialHttpClient.h"
#include "platform/foundation/Crypto.h"
#include "platform/foundation/RunLoop.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

using platform::Json;

namespace sharetest {
namespace {

const std::string kBarRoute = "/share/bar/get/lanxi-demo-appkey/";

class JobTest : public ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        startShareService();
        manager = SHSDataManager::currentDataManager();
    }

    // The bar route answers this document, sealed as the service seals its replies.
    void answerBarWith(const Json& reply) {
        services->setHandler("GET", kBarRoute, [reply](const fakes::RecordedRequest&) {
            fakes::Reply sealed;
            sealed.contentType = "text/plain";
            sealed.body = fakes::ShareRoutes::seal(kAppKey, reply.dump());
            return sealed;
        });
    }

    std::shared_ptr<SHSDataManager> manager;
};

TEST_F(JobTest, BarRequestRoundTripDeliversTheDeviceAndSubjectFields) {
    manager->title = "校园新闻";
    std::shared_ptr<SHSocialResponseEntity> reply;
    manager->requestBarInfo(storeIn(reply));
    ASSERT_TRUE(waitFor(reply));

    const auto logged = services->shareRequests();
    ASSERT_EQ(logged.size(), 1u);
    const auto& request = logged[0];
    EXPECT_EQ(request.error, "");
    EXPECT_EQ(request.action, 3);
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.appKey, kAppKey);
    const std::vector<std::pair<std::string, std::string>> expected{
        {"mac", "0A:1B:2C:3D:4E:5F"},
        {"openudid", "4f1c0e5ad2b3c4d5e6f708192a3b4c5d6e7f8091"},
        {"pcv", "2.0"},
        {"en", "CellNetwork"},
        {"de", "iPhone8,1"},
        {"os", "iOS"},
        {"dt", "1700000000123"},
        {"tp", "0"},
        {"ak", "lanxi-demo-appkey"},
        {"ek", "-1"},
        {"sdkv", "5.0"},
        {"dc", "SHSocialDefault"},
        {"ni", "1"},
        {"opid", "1"},
        {"name", "校园新闻"},
    };
    EXPECT_EQ(request.query, expected);

    EXPECT_EQ(reply->responseCode, 200);
    EXPECT_EQ(reply->responseType, SHSActionTypeGetBar);
    EXPECT_EQ(reply->message, "ok");
    const auto bar = manager->barEntity();
    EXPECT_EQ(bar->entityKey, "ek-" + platform::md5Hex("SHSocialDefault").substr(0, 12));
    EXPECT_EQ(bar->sessionId, "sid-1");
    EXPECT_EQ(bar->likeCount, 5);
    EXPECT_EQ(bar->viewCount, 37);
    EXPECT_FALSE(bar->isLike);
    EXPECT_EQ(SHSUserManager::shareInstance().uid(), "lanxi-u-000128");
    EXPECT_TRUE(manager->actionArray.empty());
}

TEST_F(JobTest, AWaitingJobGoesOutAfterTheHeadWithTheKeyItBrought) {
    services->holdReplies("GET", kBarRoute);
    std::shared_ptr<SHSocialResponseEntity> shared;
    int calls = 0;
    SHSDataManager::postSNSWithTypes({"qzone"}, "新生报到", {}, SHSLocation{30.25, 120.16}, nullptr,
                                     storeIn(shared, &calls), std::nullopt);
    // The bar request for the entity key went first; the share waits behind it.
    ASSERT_EQ(manager->actionArray.size(), 2u);
    ASSERT_TRUE(services->waitForHeld(kBarRoute, 1, std::chrono::seconds(5)));
    platform::RunLoop::main().runPending();
    EXPECT_EQ(services->requests().size(), 1u);

    ASSERT_TRUE(services->releaseHeld(kBarRoute));
    ASSERT_TRUE(waitFor(shared));
    EXPECT_EQ(shared->responseCode, 200);
    EXPECT_EQ(shared->responseType, SHSActionTypeShareMulti);
    EXPECT_EQ(shared->data, (Json{{"sns", {{"qzone", "qz-share-000001"}}}}));

    const auto logged = services->shareRequests();
    ASSERT_EQ(logged.size(), 2u);
    const std::string key = *manager->barEntity()->entityKey;
    EXPECT_EQ(logged[1].action, 5);
    EXPECT_EQ(logged[1].path, "share/multi_add/lanxi-demo-appkey/" + key + "/");
    EXPECT_EQ(logged[1].body.at("ek"), key);
    EXPECT_EQ(logged[1].body.at("uid"), "lanxi-u-000128");
    EXPECT_EQ(logged[1].body.at("ct"), "新生报到");
    EXPECT_EQ(logged[1].body.at("lc"), "(120.160000,30.250000)");
    EXPECT_EQ(logged[1].body.at("opid"), "17");
    EXPECT_EQ(logged[1].body.at("tp"), "1");
    platform::RunLoop::main().runPending();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(manager->actionArray.empty());
}

TEST_F(JobTest, TwoSharesWaitingForTheKeyEachSendTheirOwnTextAndPicture) {
    services->holdReplies("GET", kBarRoute);
    std::shared_ptr<SHSocialResponseEntity> first;
    std::shared_ptr<SHSocialResponseEntity> second;
    const auto picture =
        platform::Image::fromARGB(4, 4, std::vector<std::uint32_t>(16, 0xff336699u));
    SHSDataManager::postSNSWithTypes({"qzone"}, "新生报到", picture, std::nullopt, nullptr,
                                     storeIn(first), std::nullopt);
    SHSDataManager::postSNSWithTypes({"qzone"}, "迎新晚会", {}, std::nullopt, nullptr,
                                     storeIn(second), std::nullopt);
    ASSERT_TRUE(services->waitForHeld(kBarRoute, 1, std::chrono::seconds(5)));
    // Both shares wait behind the entity-key request; the key arrives only now.
    EXPECT_EQ(manager->actionArray.size(), 4u);
    services->clearOverrides();
    ASSERT_TRUE(services->releaseHeld(kBarRoute));
    ASSERT_TRUE(waitFor(first));
    ASSERT_TRUE(waitFor(second));

    std::vector<fakes::ShareServiceRequest> shares;
    for (const auto& request : services->shareRequests())
        if (request.action == SHSActionTypeShareMulti)
            shares.push_back(request);
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_EQ(shares[0].body.at("ct"), "新生报到");
    ASSERT_EQ(shares[0].files.size(), 1u);
    EXPECT_EQ(shares[0].files[0].name, "pic");
    EXPECT_EQ(shares[1].body.at("ct"), "迎新晚会");
    EXPECT_TRUE(shares[1].files.empty());
    const std::string key = *manager->barEntity()->entityKey;
    EXPECT_EQ(shares[0].body.at("ek"), key);
    EXPECT_EQ(shares[1].body.at("ek"), key);
}

TEST_F(JobTest, ARepliesThatDoNotOpenGiveCodeZeroOnce) {
    for (const std::string& body :
         {std::string("not*base64!"), platform::base64Encode("ten bytes!"),
          std::string("{\"st\":200}")}) {
        services->setReply("GET", kBarRoute, fakes::Reply{200, "text/plain", body});
        std::shared_ptr<SHSocialResponseEntity> reply;
        int calls = 0;
        manager->requestBarInfo(storeIn(reply, &calls));
        ASSERT_TRUE(waitFor(reply)) << body;
        platform::RunLoop::main().runPending();
        EXPECT_EQ(calls, 1) << body;
        EXPECT_EQ(reply->responseCode, 0) << body;
        EXPECT_EQ(reply->responseType, SHSActionTypeGetBar);
        EXPECT_FALSE(reply->message);
        EXPECT_FALSE(reply->data);
        EXPECT_FALSE(manager->barEntity()->entityKey);
    }
}

TEST_F(JobTest, NotFoundAndTimeOutAreNetworkErrors) {
    services->setReply("GET", kBarRoute, fakes::Reply{404, "text/plain", "gone"});
    std::shared_ptr<SHSocialResponseEntity> missing;
    manager->requestBarInfo(storeIn(missing));
    ASSERT_TRUE(waitFor(missing));
    EXPECT_EQ(missing->responseCode, SHSResponseCodeNetworkError);
    EXPECT_EQ(missing->message, SHSNetworkErrorMessage);
    EXPECT_TRUE(missing->error);
    EXPECT_EQ(missing->responseType, SHSActionTypeGetBar);

    // A reply held past the request's time-out.
    services->clearOverrides();
    services->holdReplies("GET", kBarRoute);
    SHSocialHttpClient::sharedInstance().jobTimeoutInterval = 0.3;
    std::shared_ptr<SHSocialResponseEntity> late;
    int calls = 0;
    manager->requestBarInfo(storeIn(late, &calls));
    ASSERT_TRUE(waitFor(late));
    EXPECT_EQ(late->responseCode, SHSResponseCodeNetworkError);
    EXPECT_TRUE(manager->actionArray.empty());
    services->releaseHeld(kBarRoute);
    platform::RunLoop::main().runPending();
    EXPECT_EQ(calls, 1);
}

TEST_F(JobTest, ABodyThatCannotBeWrittenFailsWithoutReachingTheWire) {
    auto bar = std::make_shared<SHSBarEntity>();
    bar->entityKey = "ek-known";
    manager->setBarEntity(bar);
    std::shared_ptr<SHSocialResponseEntity> reply;
    SHSDataManager::postSNSWithTypes({"qzone"}, std::string("broken \xff text"), {}, std::nullopt,
                                     nullptr, storeIn(reply), std::nullopt);
    ASSERT_TRUE(waitFor(reply));
    EXPECT_EQ(reply->responseCode, SHSResponseCodeNetworkError);
    EXPECT_NE(reply->error.value_or("").find("JSON"), std::string::npos);
    EXPECT_TRUE(services->requests().empty());
    EXPECT_TRUE(manager->actionArray.empty());
}

TEST_F(JobTest, PayloadIsAppliedOnlyFromASuccessOfTheExpectedShape) {
    answerBarWith({{"st", 500}, {"msg", "busy"}, {"data", {{"ek", "ek-x"}, {"uid", "u-x"}}}});
    std::shared_ptr<SHSocialResponseEntity> refused;
    manager->requestBarInfo(storeIn(refused));
    ASSERT_TRUE(waitFor(refused));
    EXPECT_EQ(refused->responseCode, 500);
    EXPECT_EQ(refused->message, "busy");
    EXPECT_FALSE(manager->barEntity()->entityKey);
    EXPECT_FALSE(SHSUserManager::shareInstance().uid());

    answerBarWith({{"st", "200"}, {"data", "not a bar"}});
    std::shared_ptr<SHSocialResponseEntity> oddShape;
    manager->requestBarInfo(storeIn(oddShape));
    ASSERT_TRUE(waitFor(oddShape));
    EXPECT_EQ(oddShape->responseCode, 200);
    EXPECT_FALSE(manager->barEntity()->entityKey);

    answerBarWith({{"st", 200}, {"data", {{"ek", "ek-y"}, {"lk", "7"}, {"fr", nullptr}}}});
    std::shared_ptr<SHSocialResponseEntity> good;
    manager->requestBarInfo(storeIn(good));
    ASSERT_TRUE(waitFor(good));
    EXPECT_EQ(manager->barEntity()->entityKey, "ek-y");
    EXPECT_EQ(manager->barEntity()->likeCount, 7);
    EXPECT_FALSE(manager->barEntity()->isLike);
}

TEST_F(JobTest, NoReplyClearsAStoredUid) {
    SHSUserManager::shareInstance().setUid("lanxi-u-7");
    for (const Json& uid : {Json(nullptr), Json(""), Json("(null)"), Json(12)}) {
        answerBarWith({{"st", 200}, {"data", {{"ek", "ek-z"}, {"uid", uid}}}});
        std::shared_ptr<SHSocialResponseEntity> reply;
        manager->requestBarInfo(storeIn(reply));
        ASSERT_TRUE(waitFor(reply));
        // A number is still an id the service gave; only unusable values are ignored.
        const std::string expected = uid.is_number() ? "12" : "lanxi-u-7";
        EXPECT_EQ(SHSUserManager::shareInstance().uid(), expected) << uid.dump();
        SHSUserManager::shareInstance().setUid("lanxi-u-7");
    }
}

TEST_F(JobTest, EachCompletionKeepsItsOwnResult) {
    std::shared_ptr<SHSocialResponseEntity> keys, counters;
    SHSParamDictionary appInfo;
    appInfo.completion = storeIn(keys);
    manager->doActionWithType(SHSActionTypeGetAppInfo, appInfo);
    manager->postOpAnalyticsWithDictionary(Json{{"2", "1"}}, storeIn(counters));
    ASSERT_TRUE(waitFor(keys));
    ASSERT_TRUE(waitFor(counters));
    EXPECT_NE(keys, counters);
    EXPECT_EQ(keys->responseType, SHSActionTypeGetAppInfo);
    EXPECT_EQ(keys->data,
              (Json{{"qzone", {{"key", "qz-app-778120"}, {"secret", "qz-secret-lanxi-demo"}}}}));
    EXPECT_EQ(counters->responseType, SHSActionTypePostOpAnalytics);
    EXPECT_FALSE(counters->data);
    EXPECT_EQ(manager->responseEntity, counters);
}

}  // namespace
}  // namespace sharetest
