#include <gtest/gtest.h>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSProtocol.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialHttpClient.h"
#include "SocialSDK/service/SHSocialJobFactory.h"
#include "platform/foundation/RunLoop.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

using platform::Json;

namespace sharetest {
namespace {

const std::string kDevicePairs =
    "mac=0A:1B:2C:3D:4E:5F&openudid=4f1c0e5ad2b3c4d5e6f708192a3b4c5d6e7f8091&pcv=2.0"
    "&en=CellNetwork&de=iPhone8,1&os=iOS&dt=1700000000123";

using ProtocolTest = ShareSdkTest;

TEST_F(ProtocolTest, BaseQueryCarriesDeviceValuesTimeAndSessionInOrder) {
    auto& protocol = SHSProtocol::sharedInstance();
    EXPECT_EQ(protocol.baseString(), kDevicePairs + "&tp=0&ak=lanxi-demo-appkey&ek=-1&sdkv=5.0");

    SHSUserManager::shareInstance().setUid("lanxi-u-7");
    now += std::chrono::milliseconds(1000);
    EXPECT_EQ(protocol.baseString(),
              "mac=0A:1B:2C:3D:4E:5F&openudid=4f1c0e5ad2b3c4d5e6f708192a3b4c5d6e7f8091&pcv=2.0"
              "&en=CellNetwork&de=iPhone8,1&os=iOS&dt=1700000001123"
              "&tp=0&ak=lanxi-demo-appkey&ek=-1&uid=lanxi-u-7&sdkv=5.0");

    const Json base = protocol.baseDictionary();
    EXPECT_EQ(base, (Json{{"mac", "0A:1B:2C:3D:4E:5F"},
                          {"openudid", "4f1c0e5ad2b3c4d5e6f708192a3b4c5d6e7f8091"},
                          {"sdkv", "5.0"},
                          {"pcv", "2.0"},
                          {"en", "CellNetwork"},
                          {"de", "iPhone8,1"},
                          {"os", "iOS"},
                          {"dt", "1700000001123"},
                          {"tp", "0"},
                          {"uid", "lanxi-u-7"},
                          {"ek", "-1"},
                          {"ak", "lanxi-demo-appkey"}}));
}

TEST_F(ProtocolTest, MissingDeviceValuesAreSentEmpty) {
    device->mac.reset();
    device->machineName.reset();
    device->ipv4Names.clear();
    EXPECT_EQ(SHSProtocol::sharedInstance().baseString(),
              "mac=&openudid=4f1c0e5ad2b3c4d5e6f708192a3b4c5d6e7f8091&pcv=2.0&en=&de=&os=iOS"
              "&dt=1700000000123&tp=0&ak=lanxi-demo-appkey&ek=-1&sdkv=5.0");
    const Json base = SHSProtocol::sharedInstance().baseDictionary();
    EXPECT_EQ(base.at("mac"), "");
    EXPECT_EQ(base.at("de"), "");
}

TEST_F(ProtocolTest, AccessKindFollowsThePrimaryInterface) {
    device->ipv4Names = {"pdp_ip0", "en0"};
    EXPECT_NE(SHSProtocol::sharedInstance().baseString().find("&en=WiFi&"), std::string::npos);
    // A simulator's machine shares the computer's network.
    device->ipv4Names.clear();
    device->machineName = "x86_64";
    EXPECT_NE(SHSProtocol::sharedInstance().baseString().find("&en=WiFi&"), std::string::npos);
}

TEST_F(ProtocolTest, CuidAndWidGoOutOnceEach) {
    auto& protocol = SHSProtocol::sharedInstance();
    protocol.cuid = "custom-31";
    protocol.wid = "w-9";
    const std::string first = protocol.baseString();
    EXPECT_NE(first.find("&ek=-1&cuid=custom-31&sdkv=5.0"), std::string::npos) << first;
    EXPECT_EQ(protocol.baseString().find("cuid"), std::string::npos);
    EXPECT_EQ(protocol.baseDictionary().value("wid", ""), "w-9");
    EXPECT_FALSE(protocol.baseDictionary().contains("wid"));
    // Each went to its own kind of request only.
    EXPECT_FALSE(protocol.cuid);
    EXPECT_FALSE(protocol.wid);
}

TEST_F(ProtocolTest, FirstUseTurnsZeroForGoodOnceTheUserHasAUid) {
    auto& protocol = SHSProtocol::sharedInstance();
    EXPECT_EQ(protocol.firstUse(), "1");
    SHSUserManager::shareInstance().setUid("lanxi-u-7");
    EXPECT_EQ(protocol.firstUse(), "0");
}

TEST_F(ProtocolTest, EntityKeyIsMinusOneInEveryPathUntilTheServiceAssignsOne) {
    auto& factory = SHSocialJobFactory::sharedInstance();
    const auto path = [&](int action) {
        SHSParamDictionary params;
        params.values["displayName"] = "qzone";
        params.values["snsNames"] = Json::array({"qzone"});
        return factory.createSocialJob(action, params)->pathString.value_or("");
    };
    EXPECT_EQ(path(SHSActionTypeAddComment), "comment/add/lanxi-demo-appkey/-1/");
    EXPECT_EQ(path(SHSActionTypeLike), "like/update/lanxi-demo-appkey/-1/");
    EXPECT_EQ(path(SHSActionTypeGetComments).rfind("comment/get/lanxi-demo-appkey/-1/?mac=", 0),
              0u);
    EXPECT_EQ(path(SHSActionTypeShare), "share/add/lanxi-demo-appkey/-1/");
    EXPECT_EQ(path(SHSActionTypeShareMulti), "share/multi_add/lanxi-demo-appkey/-1/");
    EXPECT_EQ(path(SHSActionTypeAuthPage).rfind("share/auth/lanxi-demo-appkey/-1?mac=", 0), 0u);

    auto bar = std::make_shared<SHSBarEntity>();
    bar->entityKey = "ek-31f0";
    SHSDataManager::currentDataManager()->setBarEntity(bar);
    EXPECT_EQ(path(SHSActionTypeShareMulti), "share/multi_add/lanxi-demo-appkey/ek-31f0/");
    const auto like = factory.createSocialJob(SHSActionTypeLike, {});
    EXPECT_EQ(like->baseDic->fields.at("ek"), "ek-31f0");
}

TEST_F(ProtocolTest, ActionsOfTheAccountServiceHaveDoubleSlashPaths) {
    startShareService();
    SHSUserManager::shareInstance().setUid("lanxi-u-7");
    auto& factory = SHSocialJobFactory::sharedInstance();
    SHSParamDictionary params;
    params.customAccount = std::make_shared<SHSocialCustomAccount>("张晓");
    params.snsAccount = std::make_shared<SHSocialAccountEntity>("qzone");
    params.values["opDic"] = Json{{"2", "1"}};
    params.values["appInfo"] = Json{{"qzone", Json{{"key", "k"}}}};
    const std::string base = SHSocialHttpClient::sharedInstance().baseURL;
    ASSERT_EQ(base, services->shareServiceBase());
    const std::pair<int, std::string> expected[] = {
        {SHSActionTypeCustomAccount, "/user/custom_account/lanxi-demo-appkey/lanxi-u-7/"},
        {SHSActionTypePostToken, "/share/token/lanxi-demo-appkey/"},
        {SHSActionTypeGetAppInfo, "/share/keysecret/lanxi-demo-appkey/?mac="},
        {SHSActionTypePostOpAnalytics, "/app/oper/lanxi-demo-appkey/"},
        {SHSActionTypePostAppInfo, "/share/keysecret/lanxi-demo-appkey/"},
    };
    for (const auto& [action, start] : expected) {
        const auto job = factory.createSocialJob(action, params);
        ASSERT_TRUE(job) << action;
        EXPECT_EQ(job->pathString.value_or("").rfind(start, 0), 0u) << action;
        EXPECT_NE((base + *job->pathString).find("/share//"), std::string::npos) << action;
    }

    // ... and they go out that way.
    std::shared_ptr<SHSocialResponseEntity> reply;
    SHSParamDictionary appInfo;
    appInfo.completion = storeIn(reply);
    SHSDataManager::currentDataManager()->doActionWithType(SHSActionTypeGetAppInfo, appInfo);
    ASSERT_TRUE(waitFor(reply));
    const auto sent = services->requests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].target.rfind("/share//share/keysecret/lanxi-demo-appkey/?ud_get=", 0), 0u)
        << sent[0].target;
    EXPECT_EQ(reply->responseCode, 200);
}

TEST_F(ProtocolTest, ActionsNamingAMissingUserOrAccountMakeNoJobAndSaySo) {
    startShareService();
    auto manager = SHSDataManager::currentDataManager();
    std::shared_ptr<SHSocialResponseEntity> accounts, friends;
    int accountCalls = 0;
    SHSParamDictionary noUid;
    noUid.completion = storeIn(accounts, &accountCalls);
    manager->doActionWithType(SHSActionTypeGetAccounts, noUid);
    SHSParamDictionary noAccount;
    noAccount.values["displayName"] = "qzone";
    noAccount.completion = storeIn(friends);
    manager->doActionWithType(SHSActionTypeGetFriends, noAccount);
    EXPECT_TRUE(manager->actionArray.empty());

    ASSERT_TRUE(waitFor(accounts));
    ASSERT_TRUE(waitFor(friends));
    EXPECT_EQ(accounts->responseCode, SHSResponseCodeNotLogin);
    EXPECT_EQ(accounts->responseType, SHSActionTypeGetAccounts);
    EXPECT_EQ(friends->responseCode, SHSResponseCodeNotLogin);
    EXPECT_EQ(friends->responseType, SHSActionTypeGetFriends);
    platform::RunLoop::main().runPending();
    EXPECT_EQ(accountCalls, 1);
    EXPECT_TRUE(services->requests().empty());

    // With an account the path names its usid.
    auto account = std::make_shared<SHSocialAccountEntity>("qzone");
    account->usid = "qz-550121";
    SHSUserManager::shareInstance().setSnsAccountDictionary({{"qzone", account}});
    const auto job =
        SHSocialJobFactory::sharedInstance().createSocialJob(SHSActionTypeGetFriends, noAccount);
    ASSERT_TRUE(job);
    EXPECT_EQ(job->pathString->rfind("share/friends/lanxi-demo-appkey/qz-550121/?mac=", 0), 0u);
    EXPECT_NE(job->pathString->find("&to=qzone"), std::string::npos);
}

TEST_F(ProtocolTest, MultiShareBodyNamesAccountsAndMarksPlatformsWithoutOne) {
    auto tencent = std::make_shared<SHSocialAccountEntity>("tencent");
    tencent->usid = "tc-88";
    SHSUserManager::shareInstance().setSnsAccountDictionary({{"tencent", tencent}});
    SHSParamDictionary params;
    params.values["snsNames"] = Json::array({"tencent", "wxsession"});
    const auto job =
        SHSocialJobFactory::sharedInstance().createSocialJob(SHSActionTypeShareMulti, params);
    const Json& body = job->baseDic->fields;
    EXPECT_EQ(body.at("opid"), "17");
    EXPECT_EQ(body.at("tp"), "1");
    EXPECT_EQ(body.at("type"), "common");
    EXPECT_EQ(Json::parse(body.at("sns").get<std::string>()),
              (Json{{"tencent", "tc-88"}, {"wxsession", ""}}));
    EXPECT_EQ(job->networkType, SHSNetworkTypeFormPost);
}

TEST_F(ProtocolTest, TheApplicationSecretIsTheKeyReversedByCharacter) {
    setAppKey("ab中e\xCC\x81x");  // "é" as e + combining accent stays one character
    SHSParamDictionary params;
    const auto job =
        SHSocialJobFactory::sharedInstance().createSocialJob(SHSActionTypePostAppInfo, params);
    EXPECT_EQ(job->baseDic->fields.at("ruzar_secret"), "xe\xCC\x81中ba");
}

TEST_F(ProtocolTest, NoJobWithoutAnApplicationKey) {
    setAppKey("");
    EXPECT_FALSE(SHSocialJobFactory::sharedInstance().createSocialJob(SHSActionTypeGetBar, {}));
}

}  // namespace
}  // namespace sharetest
