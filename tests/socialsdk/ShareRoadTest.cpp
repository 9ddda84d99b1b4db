#include <gtest/gtest.h>

#include "SocialSDK/base/SHSActionType.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialIconSheetView.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialSnsHandler.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialSnsService.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

using platform::Json;

namespace sharetest {
namespace {

class ShareRoadTest : public ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        startShareService();
        platform::setLogSink([this](const std::string& line) { systemLog.push_back(line); });
    }
    void TearDown() override {
        platform::setLogSink({});
        ShareSdkTest::TearDown();
    }

    bool waitForAction(int action) {
        return platform::RunLoop::main().runUntil([&] { return requestsOf(action) > 0; });
    }
    std::string counted(const std::string& key) const {
        const auto& ops = SHSocialOpAnalytics::shareInstance().opDictionary();
        const auto it = ops.find(key);
        return it == ops.end() ? "" : it->get<std::string>();
    }
    void storeAccount(const std::string& platform, const std::string& usid) {
        auto account = std::make_shared<SHSocialAccountEntity>(platform);
        account->usid = usid;
        SHSocialAccountManager::setSnsAccount(account);
    }

    std::vector<std::string> systemLog;
};

// The host's delegate, recording also the platforms chosen.
class RecordingDelegate : public RecordingUIDelegate {
public:
    void didSelectSocialPlatform(const std::string& name,
                                 const std::shared_ptr<SHSocialData>&) override {
        selected.push_back(name);
    }
    std::vector<std::string> selected;
};

TEST_F(ShareRoadTest, TheHostsSheetShowsQzoneAndPresentingFetchesTheKeys) {
    auto controller = std::make_shared<platform::ViewController>();
    auto delegate = std::make_shared<RecordingDelegate>();
    SHSocialSnsService::presentSnsIconSheetView(
        controller, std::string("lanxi-share-key"), std::string("校园新闻"), {},
        std::vector<std::string>{"wxtimeline", "wxsession", "qq", "qzone"}, delegate);
    auto sheet = SHSocialIconSheetView::lastShown();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->snsNames(), std::vector<std::string>{"qzone"});
    ASSERT_TRUE(sheet->superview());
    EXPECT_EQ(sheet->superview()->superview(), controller->view());
    EXPECT_EQ(counted("2"), "1");
    EXPECT_EQ(SHSocialData::appKey(), "lanxi-share-key");
    EXPECT_EQ(SHSocialData::defaultData()->shareText(), "校园新闻");

    // The platform keys are asked with the new key, and merged into the handler's table.
    ASSERT_TRUE(waitForAction(SHSActionTypeGetAppInfo));
    for (const auto& request : services->shareRequests()) {
        if (request.action == SHSActionTypeGetAppInfo) {
            EXPECT_EQ(request.appKey, "lanxi-share-key");
        }
    }
    ASSERT_TRUE(platform::RunLoop::main().runUntil(
        [] { return !SHSocialSnsHandler::shareInstance().appInfo().empty(); }));

    // The container then sets the per-platform link and title on the default subject.
    SHSocialData::defaultData()->extConfig()->qzoneData->url = "http://news.lanxi-campus.example/1";
    SHSocialData::defaultData()->extConfig()->qzoneData->title = "新闻";
    EXPECT_EQ(SHSocialData::defaultData()->extConfig()->snsDataDictionary.at("qzone")->snsName,
              "qzone");
}

TEST_F(ShareRoadTest, AQzoneTapCountsLogsTheHintAndOpensNothing) {
    auto controller = std::make_shared<platform::ViewController>();
    auto delegate = std::make_shared<RecordingDelegate>();
    SHSocialSnsService::presentSnsIconSheetView(controller, std::string(kAppKey), std::nullopt, {},
                                                std::vector<std::string>{"qzone"}, delegate);
    auto sheet = SHSocialIconSheetView::lastShown();
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(sheet->tapPlatform("qzone"));
    EXPECT_EQ(counted("3-10"), "1");
    EXPECT_EQ(delegate->selected, std::vector<std::string>{"qzone"});
    EXPECT_NE(std::find(systemLog.begin(), systemLog.end(),
                        "你需要按照文档要求添加qq空间设置才能进行分享"),
              systemLog.end());
    EXPECT_FALSE(controller->presentedViewController());
    EXPECT_FALSE(sheet->tapPlatform("wxsession"));
}

TEST_F(ShareRoadTest, TheUiDelegateIsNotOwned) {
    auto delegate = std::make_shared<RecordingDelegate>();
    std::weak_ptr<RecordingDelegate> weak = delegate;
    SHSocialSnsService::presentSnsIconSheetView(std::make_shared<platform::ViewController>(),
                                                std::string(kAppKey), std::nullopt, {}, {},
                                                delegate);
    delegate.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_FALSE(SHSocialSnsService::sharedInstance().socialControllerService->socialUIDelegate());
}

TEST_F(ShareRoadTest, ATencentTapOpensTheEditScreenOnlyWithAValidToken) {
    std::vector<std::pair<std::string, std::string>> opened;
    auto& screens = SHSocialControllerService::screens();
    screens.shareEdit = [&opened](SHSocialControllerService&, const std::string& name,
                                  const std::optional<std::string>& source) {
        opened.emplace_back("edit " + name, source.value_or(""));
        return std::make_shared<platform::ViewController>();
    };
    screens.oauth = [&opened](SHSocialControllerService&, const std::string& name,
                              const std::optional<std::string>& source) {
        opened.emplace_back("oauth " + name, source.value_or(""));
        return std::make_shared<platform::ViewController>();
    };
    auto controller = std::make_shared<platform::ViewController>();
    auto service = std::make_shared<SHSocialControllerService>(SHSocialData::defaultData());
    auto tencent = SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName("tencent");
    ASSERT_TRUE(tencent);

    storeAccount("tencent", "t1");
    tencent->snsClickHandler(controller, service, true);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], std::make_pair(std::string("edit tencent"), std::string("3")));

    opened.clear();
    SHSUserManager::shareInstance().setSnsAccountDictionary({});
    tencent->snsClickHandler(controller, service, true);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], std::make_pair(std::string("oauth tencent"), std::string("4")));
    EXPECT_EQ(counted("3+4-11"), "1");
    // The sign-in page stores the account and reports success: the edit screen follows with
    // source "4".
    storeAccount("tencent", "t2");
    auto signedIn = std::make_shared<SHSocialResponseEntity>();
    signedIn->responseCode = 200;
    tencent->platformInternal()->performLoginCompletion(signedIn);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], std::make_pair(std::string("edit tencent"), std::string("4")));
}

TEST_F(ShareRoadTest, UnOauthReportsSuccessBeforeTheServiceIsTold) {
    storeAccount("qzone", "q1");
    std::size_t sentBefore = 99;
    bool accountGoneBefore = false;
    int calls = 0;
    SHSUserManager::shareInstance().requestUnOauthToPlatform(
        "qzone", [&](std::shared_ptr<SHSocialResponseEntity> response) {
            ++calls;
            EXPECT_EQ(response->responseCode, 200);
            EXPECT_EQ(response->responseType, SHSActionTypeDeleteAuth);
            sentBefore = requestsOf(SHSActionTypeDeleteAuth);
            accountGoneBefore = !SHSocialAccountManager::socialAccountDictionary().count("qzone");
        });
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sentBefore, 0u);
    EXPECT_TRUE(accountGoneBefore);
    ASSERT_TRUE(waitForAction(SHSActionTypeDeleteAuth));
    for (const auto& request : services->shareRequests()) {
        if (request.action == SHSActionTypeDeleteAuth) {
            EXPECT_NE(request.path.find("auth_delete"), std::string::npos);
        }
    }
    platform::RunLoop::main().runPending();
    EXPECT_EQ(calls, 1);
}

TEST_F(ShareRoadTest, ABarReplyWithoutUidDoesNotLoop) {
    services->setHandler("GET", "/share/bar/get/lanxi-demo-appkey/",
                         [](const fakes::RecordedRequest&) {
                             fakes::Reply sealed;
                             sealed.contentType = "text/plain";
                             sealed.body = fakes::ShareRoutes::seal(
                                 kAppKey, Json{{"st", 200}, {"data", Json::object()}}.dump());
                             return sealed;
                         });
    int calls = 0;
    SHSUserManager::shareInstance().requestSnsAccount(
        [&calls](std::shared_ptr<SHSocialResponseEntity>) { ++calls; });
    const std::string barRoute = "/share/bar/get/lanxi-demo-appkey/";
    ASSERT_TRUE(services->waitForRequests(1, std::chrono::seconds(10)));
    auto& loop = platform::RunLoop::main();
    loop.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; });
    loop.runPending();
    loop.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; });
    EXPECT_EQ(services->requestsTo(barRoute).size(), 1u);
    EXPECT_EQ(requestsOf(SHSActionTypeGetAccounts), 0u);
    EXPECT_EQ(calls, 0);
}

TEST_F(ShareRoadTest, ShareResultTable) {
    platform::testing::UiTestScope scope;
    auto window = makeKeyWindow();
    storeAccount("tencent", "t1");
    storeAccount("douban", "d1");
    auto result = [](int code, Json data) {
        auto response = std::make_shared<SHSocialResponseEntity>();
        response->responseCode = code;
        response->data = std::move(data);
        return response;
    };
    // The code is read as its integer value, however the service writes it.
    SHSocialDataService::handleShareResult("tencent", result(510, {{"tencent", {{"st", 5027.0}}}}));
    EXPECT_FALSE(SHSocialAccountManager::socialAccountDictionary().count("tencent"));
    EXPECT_TRUE(SHSocialAccountManager::socialAccountDictionary().count("douban"));
    const std::vector<std::pair<int, std::string>> platformCodes{
        {5007, "消息为空，分享失败"},
        {5016, "由于文字重复，分享失败"},
        {505, "对不起，因为违反了用户协议您已被禁言"},
        {510, "分享失败"},
        {100031, "用户没有授权，分享失败"},
        {4242, "分享失败"}};
    for (const auto& [code, text] : platformCodes)
        SHSocialDataService::handleShareResult("douban", result(510, {{"douban", {{"st", code}}}}));
    SHSocialDataService::handleShareResult("douban", result(510, {{"douban", {{"st", "5016.0"}}}}));
    SHSocialDataService::handleShareResult("douban", result(5050, nullptr));
    SHSocialDataService::handleShareResult("douban", result(5052, nullptr));
    std::vector<std::string> expected{"由于授权过期，分享失败"};
    for (const auto& entry : platformCodes) expected.push_back(entry.second);
    expected.push_back("由于文字重复，分享失败");
    expected.push_back("网络异常，分享失败");
    // Each shows on the key window, at the top, for its second on the clock.
    EXPECT_EQ(toastsOnScreen(), expected);
    scope.advance(1);
    EXPECT_TRUE(toastsOnScreen().empty());
    EXPECT_TRUE(SHSocialAccountManager::socialAccountDictionary().count("douban"));

    // Success refreshes the counters, then tells the bar; only platforms below 14 get a toast.
    int updates = 0;
    const auto id = platform::NotificationCenter::defaultCenter().addObserver(
        "UpdateSocialBar", [&updates](const platform::Notification&) { ++updates; });
    SHSocialDataService::handleShareResult("email", result(200, nullptr));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return updates == 1; }));
    EXPECT_TRUE(toastsOnScreen().empty());
    SHSocialDataService::handleShareResult("douban", result(200, nullptr));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return updates == 2; }));
    EXPECT_EQ(toastsOnScreen(), std::vector<std::string>{"发送成功"});
    platform::NotificationCenter::defaultCenter().removeObserver(id);
}

TEST_F(ShareRoadTest, PublicOperationsCountAndTheirTwinsDoNot) {
    auto service = SHSocialDataService::defaultDataService();
    service->requestSnsFriendsInternal("wxsession", {});
    service->requestSnsInformationInternal("wxsession", {});
    service->requestUnOauthWithTypeInternal("wxsession", {});
    EXPECT_EQ(counted("25"), "");
    EXPECT_EQ(counted("24"), "");
    EXPECT_EQ(counted("21"), "");
    service->requestSnsFriends("wxsession", {});
    service->requestSnsInformation("wxsession", {});
    service->requestUnOauthWithType("wxsession", {});
    EXPECT_EQ(counted("25"), "1");
    EXPECT_EQ(counted("24"), "1");
    EXPECT_EQ(counted("21"), "1");
    EXPECT_EQ(requestsOf(SHSActionTypeGetFriends), 0u)
        << "a platform that fails the test sends nothing";
}

TEST_F(ShareRoadTest, AQzoneShareGoesThroughTheEditRoadAndRestoresTheSubject) {
    auto subject = SHSocialData::defaultData();
    subject->setShareText("原文");
    subject->extConfig()->qzoneData->shareText = "空间文字";
    auto service = SHSocialDataService::defaultDataService();
    std::shared_ptr<SHSocialResponseEntity> result;
    service->postSNSWithTypes({"qzone"}, std::string("给定文字"), {}, std::nullopt, nullptr,
                              std::make_shared<platform::ViewController>(), storeIn(result));
    EXPECT_EQ(subject->shareText(), "空间文字")
        << "the platform's text is what the edit road shows";
    EXPECT_EQ(counted("3-10"), "1");
    auto done = std::make_shared<SHSocialResponseEntity>();
    done->responseCode = 200;
    service->didFinishGetSHSocialDataInViewController(done);
    EXPECT_EQ(result, done);
    EXPECT_EQ(subject->shareText(), "原文");
    EXPECT_EQ(requestsOf(SHSActionTypeShareMulti), 0u);
}

TEST_F(ShareRoadTest, CancellingAllRequestsCancelsTheHeadAndDropsTheRest) {
    const std::string barRoute = "/share/bar/get/lanxi-demo-appkey/";
    services->holdReplies("GET", barRoute);
    auto manager = SHSDataManager::currentDataManager();
    std::shared_ptr<SHSocialResponseEntity> head;
    int waitingCalls = 0;
    manager->requestBarInfo(storeIn(head));
    manager->requestBarInfo(
        [&waitingCalls](std::shared_ptr<SHSocialResponseEntity>) { ++waitingCalls; });
    ASSERT_TRUE(services->waitForHeld(barRoute, 1, std::chrono::seconds(10)));
    SHSocialDataService::defaultDataService()->cancelAllRequestInQueueInternal();
    ASSERT_TRUE(head);
    EXPECT_EQ(head->responseCode, SHSResponseCodeNetworkError);
    EXPECT_EQ(head->error, "cancelled");
    EXPECT_TRUE(manager->actionArray.empty());
    services->releaseHeld(barRoute);
    auto& loop = platform::RunLoop::main();
    loop.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; });
    loop.runPending();
    EXPECT_EQ(waitingCalls, 0);
    EXPECT_EQ(services->requestsTo(barRoute).size(), 1u);
}

TEST_F(ShareRoadTest, AppInformationMergeKeepsALocalSinaKeyAndIgnoresNonDictionaries) {
    auto& handler = SHSocialSnsHandler::shareInstance();
    handler.setAppInfo(Json{{"sina", {{"key", "local"}}}, {"qzone", {{"key", "old"}}}});
    SHSocialResponseEntity reply;
    reply.data = Json{{"sina", {{"key", "remote"}}}, {"qzone", {{"key", "new"}}}};
    handler.mergeAppInfoReply(reply);
    EXPECT_EQ(handler.appInfo()["sina"]["key"], "local");
    EXPECT_EQ(handler.appInfo()["qzone"]["key"], "new");
    const auto before = handler.appInfo();
    reply.data = Json::array({1, 2});
    handler.mergeAppInfoReply(reply);
    reply.data = Json("text");
    handler.mergeAppInfoReply(reply);
    EXPECT_EQ(handler.appInfo(), before);
}

TEST_F(ShareRoadTest, RegistryLookupsFollowRegistrationOrder) {
    auto& registry = SHSocialSnsPlatformManager::sharedInstance();
    EXPECT_EQ(registry.socialSnsArray(),
              (std::vector<std::string>{"tencent", "qzone", "renren", "douban"}));
    EXPECT_EQ(SHSocialSnsPlatformManager::getSnsPlatformString(20), "facebook");
    EXPECT_EQ(SHSocialSnsPlatformManager::getSnsPlatformType("sina"), 0);
    EXPECT_FALSE(registry.getSnsPlatformWithName("loginAccount"));

    auto first = std::make_shared<SHSocialSnsPlatform>("campusboard");
    auto second = std::make_shared<SHSocialSnsPlatform>("campuswall");
    auto twin = std::make_shared<SHSocialSnsPlatform>("qzone");
    twin->shareToType = 99;
    SHSocialConfig::addSocialSnsPlatform({first, second, twin});
    EXPECT_EQ(first->shareToType, 34);
    EXPECT_EQ(second->shareToType, 35);
    EXPECT_EQ(registry.getSnsPlatformWithName("qzone")->shareToType, 10);
    auto sameType = std::make_shared<SHSocialSnsPlatform>("campusboard2");
    sameType->shareToType = 34;
    SHSocialConfig::addSocialSnsPlatform({sameType});
    EXPECT_EQ(registry.getSnsPlatformWithType(34), first);

    SHSocialConfig::hiddenNotInstallPlatforms(std::nullopt);
    EXPECT_TRUE(registry.getSnsPlatformWithName("qzone")->platformInternal()->isHidden);
    EXPECT_FALSE(registry.getSnsPlatformWithName("tencent")->platformInternal()->isHidden);
}

}  // namespace
}  // namespace sharetest
