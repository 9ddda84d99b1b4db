// What the share service receives and what its replies change, against the fake share service
// on 127.0.0.1: the like reply, comment posting and its refusals, the bodies of the comment,
// like, single-share, custom-account and token requests, the subject descriptor's encoding and
// a comment's age; and the picture loader's GIF mode, cancel, cache lifetime and a view
// released while its picture loads.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/base/SHSocialProtocolData.h"
#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSBarEntity.h"
#include "SocialSDK/service/SHSCommentEntity.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSParamDictionary.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialImageLoader.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UiTestScope.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

namespace sharetest {
namespace {

using platform::Json;

class ShareRequestsTest : public ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        startShareService();
        SHSocialUtils::setOpenLog(true);
        SHSocialUtils::setLogSink([this](const std::string& line) { log.push_back(line); });
    }
    // The subject's bar as the service first gives it: its entity key and the user's uid.
    void fetchBar() {
        std::shared_ptr<SHSocialResponseEntity> bar;
        SHSocialDataService::defaultDataService()->requestSocialDataWithCompletionInternal(
            storeIn(bar));
        ASSERT_TRUE(waitFor(bar));
        entityKey = SHSDataManager::currentDataManager()->barEntity()->entityKey.value_or("");
        ASSERT_FALSE(entityKey.empty());
        // The bar reply of a user without accounts asks for them (action 10): that exchange
        // is over before a case goes on.
        ASSERT_TRUE(platform::RunLoop::main().runUntil([this] {
            return requestsOf(10) > 0 && platform::HttpClient::shared().inFlight() == 0 &&
                   SHSDataManager::currentDataManager()->actionArray.empty();
        }));
    }
    // The body of the last request of the action the service received.
    std::optional<Json> lastBody(int action) {
        platform::RunLoop::main().runUntil(
            [] { return platform::HttpClient::shared().inFlight() == 0; });
        std::optional<Json> body;
        for (const auto& request : services->shareRequests())
            if (request.action == action)
                body = request.body;
        return body;
    }
    bool logged(const std::string& text) const {
        for (const auto& line : log)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    std::string entityKey;
    std::vector<std::string> log;
};

// --- Like --------------------------------------------------------------------------------------

TEST_F(ShareRequestsTest, ALikeReplyFlipsIsLikeAndMovesTheCountBothWays) {
    fetchBar();
    auto subject = SHSocialData::defaultData();
    auto bar = [] { return SHSDataManager::currentDataManager()->barEntity(); };
    const int before = bar()->likeCount;
    ASSERT_FALSE(subject->isLike());
    const std::string route = std::string("/share/like/update/") + kAppKey + "/" + entityKey + "/";
    answerWith("POST", route, Json{{"st", 200}, {"msg", "ok"}});
    auto service = SHSocialDataService::defaultDataService();

    std::shared_ptr<SHSocialResponseEntity> liked;
    service->postAddLikeOrCancelWithCompletionInternal(storeIn(liked));
    ASSERT_TRUE(waitFor(liked));
    EXPECT_EQ(liked->responseCode, 200);
    EXPECT_TRUE(subject->isLike());
    EXPECT_EQ(bar()->likeCount, before + 1);
    EXPECT_EQ(subject->getNumber(0), before + 1);

    std::shared_ptr<SHSocialResponseEntity> withdrawn;
    service->postAddLikeOrCancelWithCompletionInternal(storeIn(withdrawn));
    ASSERT_TRUE(waitFor(withdrawn));
    EXPECT_FALSE(subject->isLike());
    EXPECT_EQ(bar()->likeCount, before);

    // A refused like changes nothing.
    answerWith("POST", route, Json{{"st", 510}, {"msg", "refused"}});
    std::shared_ptr<SHSocialResponseEntity> refused;
    service->postAddLikeOrCancelWithCompletionInternal(storeIn(refused));
    ASSERT_TRUE(waitFor(refused));
    EXPECT_EQ(refused->responseCode, 510);
    EXPECT_FALSE(subject->isLike());
    EXPECT_EQ(bar()->likeCount, before);
}

TEST_F(ShareRequestsTest, TheLikeBodyCarriesTheSessionTheUserAndTheLikeValue) {
    fetchBar();
    const auto session = SHSDataManager::currentDataManager()->barEntity()->sessionId;
    SHSDataManager::currentDataManager()->requestAddlikeOrDislike(1, nullptr);
    auto body = lastBody(1);
    ASSERT_TRUE(body);
    EXPECT_EQ((*body)["opid"], "6");
    EXPECT_EQ((*body)["st"], "1");
    EXPECT_EQ((*body)["sid"], session.value_or(""));
    EXPECT_EQ((*body)["uid"], SHSUserManager::shareInstance().uid().value_or("?"));
    EXPECT_EQ((*body)["ek"], entityKey);
    EXPECT_EQ((*body)["ak"], kAppKey);
}

// --- Comments ----------------------------------------------------------------------------------

TEST_F(ShareRequestsTest, ADevelopersCommentSendsItsTextWithoutPlatforms) {
    fetchBar();
    SHSocialDataService::defaultDataService()->postCommentWithContentInternal("图书馆几点开门？",
                                                                              nullptr);
    auto body = lastBody(0);
    ASSERT_TRUE(body);
    EXPECT_EQ((*body)["opid"], "5");
    EXPECT_EQ((*body)["ct"], "图书馆几点开门？");
    EXPECT_EQ((*body)["dt"], std::to_string(kNowMillis));
    EXPECT_FALSE(body->contains("sns"));
    EXPECT_FALSE(body->contains("lc"));
    EXPECT_FALSE(body->contains("pic"));
}

TEST_F(ShareRequestsTest, ACommentSharedToPlatformsCarriesThemTheTemplateAndTheLocation) {
    fetchBar();
    SHSDataManager::postCommentWithContent("开放日见", std::nullopt, std::string("来自校园通"),
                                           SHSLocation{30.25, 120.125},
                                           Json{{"qzone", "qz-1"}, {"custom", "c-7"}}, nullptr);
    auto body = lastBody(0);
    ASSERT_TRUE(body);
    EXPECT_EQ((*body)["ct"], "开放日见");
    EXPECT_EQ((*body)["tpt"], "来自校园通");
    EXPECT_EQ((*body)["lc"], "(120.125000,30.250000)");
    ASSERT_TRUE(body->contains("sns") && (*body)["sns"].is_string()) << body->dump();
    const auto sns = Json::parse((*body)["sns"].get<std::string>());
    EXPECT_EQ(sns, (Json{{"qzone", "qz-1"}, {"custom", "c-7"}}));
}

TEST_F(ShareRequestsTest, CommentsToUnknownPlatformsOrWithoutTextIdsAreRefusedUnsent) {
    fetchBar();
    const auto before = services->shareRequests().size();
    SHSDataManager::postCommentWithContent("开放日见", std::nullopt, std::nullopt, std::nullopt,
                                           Json{{"qq", "123"}}, nullptr);
    EXPECT_TRUE(logged("error key is qq"));
    EXPECT_TRUE(logged("you should pass a sns type that one of SHShareToTypeSina"));
    SHSDataManager::postCommentWithContent("开放日见", std::nullopt, std::nullopt, std::nullopt,
                                           Json{{"qzone", 123}}, nullptr);
    EXPECT_TRUE(logged("you should pass a sns uid string"));
    ASSERT_TRUE(waitUntilQuiet());
    EXPECT_EQ(services->shareRequests().size(), before);
}

// --- Single share, custom account, token
// -----------------------------------------------------------

TEST_F(ShareRequestsTest, ASingleShareSendsThePlatformsTextAndItsAccount) {
    fetchBar();
    auto account = std::make_shared<SHSocialAccountEntity>("qzone");
    account->usid = "qz-550121";
    SHSocialAccountManager::setSnsAccount(account);
    SHSocialData::defaultData()->setShareText(std::string("校园新闻"));
    SHSocialData::defaultData()->extConfig()->qzoneData->shareText = "空间里的校园新闻";
    SHSDataManager::setSnsEntity(10, std::string("校园新闻"), {}, std::nullopt, nullptr);
    SHSParamDictionary params;
    params.values["snsType"] = "qzone";
    SHSDataManager::currentDataManager()->doActionWithType(4, params);
    auto body = lastBody(4);
    ASSERT_TRUE(body);
    EXPECT_EQ((*body)["opid"], "9");
    EXPECT_EQ((*body)["to"], "qzone");
    EXPECT_EQ((*body)["usid"], "qz-550121");
    EXPECT_EQ((*body)["ct"], "空间里的校园新闻");
    EXPECT_FALSE(body->contains("pic"));
}

TEST_F(ShareRequestsTest, ACustomAccountSendsItsFieldsAndOnlyAKnownGender) {
    fetchBar();
    auto custom = std::make_shared<SHSocialCustomAccount>("王建国");
    custom->usid = "t-20050031";
    custom->gender = "male";
    custom->iconUrl = "http://img.lanxi-campus.example/head/20050031.png";
    custom->customData = Json{{"department", "信息工程学院"}};
    SHSocialAccountManager::postCustomAccount(custom, nullptr);
    auto body = lastBody(14);
    ASSERT_TRUE(body);
    EXPECT_EQ((*body)["username"], "王建国");
    EXPECT_EQ((*body)["usid"], "t-20050031");
    EXPECT_EQ((*body)["gender"], "1");
    EXPECT_EQ((*body)["icon"], "http://img.lanxi-campus.example/head/20050031.png");
    ASSERT_TRUE((*body)["extend"].is_string());
    EXPECT_EQ(Json::parse((*body)["extend"].get<std::string>()),
              (Json{{"department", "信息工程学院"}}));

    custom->gender = "unknown";
    SHSocialAccountManager::postCustomAccount(custom, nullptr);
    body = lastBody(14);
    ASSERT_TRUE(body);
    EXPECT_FALSE(body->contains("gender"));
    EXPECT_TRUE(logged("add custom account gender error!"));
}

TEST_F(ShareRequestsTest, ATokenSendsThePlatformTheTokenAndTheOpenIdAsUsid) {
    fetchBar();
    auto account = std::make_shared<SHSocialAccountEntity>("qzone");
    account->accessToken = "tok-1";
    account->usid = "qz-1";
    account->openId = "open-9";
    account->refreshToken = "ref-2";
    account->expirationDate = std::chrono::system_clock::time_point(
        std::chrono::milliseconds(kNowMillis) + std::chrono::seconds(3600));
    SHSocialAccountManager::postSnsAccount(account, nullptr);
    auto body = lastBody(15);
    ASSERT_TRUE(body);
    EXPECT_EQ((*body)["to"], "qzone");
    EXPECT_EQ((*body)["access_token"], "tok-1");
    EXPECT_EQ((*body)["openid"], "open-9");
    EXPECT_EQ((*body)["usid"], "open-9");
    EXPECT_EQ((*body)["refresh_token"], "ref-2");
    EXPECT_EQ((*body)["expires_in"], "3600");
    EXPECT_FALSE(body->contains("app_id"));

    auto tencent = std::make_shared<SHSocialAccountEntity>("tencent");
    tencent->accessToken.reset();
    SHSocialAccountManager::postSnsAccount(tencent, nullptr);
    body = lastBody(15);
    ASSERT_TRUE(body);
    EXPECT_FALSE(body->contains("access_token"));
    EXPECT_TRUE(logged("You must set accessToken!"));
    EXPECT_TRUE(logged("you must set openid if you usd a tencent weibo or qzone account!"));
}

// --- Descriptor and comment age
// -------------------------------------------------------------------

TEST(ShareDescriptor, ReservedAndNonAsciiCharactersArePercentEncodedAfterDecoding) {
    EXPECT_EQ(SHSDataManager::encodedDescriptor("SHSocialDefault"), "SHSocialDefault");
    EXPECT_EQ(SHSDataManager::encodedDescriptor("news/12?a=1&b=2"), "news%2F12%3Fa%3D1%26b%3D2");
    EXPECT_EQ(SHSDataManager::encodedDescriptor("a b~c|d"), "a%20b%7Ec%7Cd");
    EXPECT_EQ(SHSDataManager::encodedDescriptor("校园"), "%E6%A0%A1%E5%9B%AD");
    // Escapes already there are decoded first, so they are not escaped twice.
    EXPECT_EQ(SHSDataManager::encodedDescriptor("news%2F12"), "news%2F12");
    EXPECT_EQ(SHSDataManager::encodedDescriptor("%E6%A0%A1"), "%E6%A0%A1");
    // Letters, digits and "-_." stay.
    EXPECT_EQ(SHSDataManager::encodedDescriptor("A-z_0.9"), "A-z_0.9");
}

TEST_F(ShareRequestsTest, ACommentsAgeReadsInSecondsMinutesHoursOrDays) {
    auto ageOf = [](long long seconds) {
        SHSCommentEntity comment;
        comment.dateInterval = kNowMillis - seconds * 1000;
        return comment.getDateString();
    };
    EXPECT_EQ(ageOf(0), "0 秒前");
    EXPECT_EQ(ageOf(59), "59 秒前");
    EXPECT_EQ(ageOf(-30), "0 秒前");
    EXPECT_EQ(ageOf(60), "1 分钟前");
    EXPECT_EQ(ageOf(3659), "60 分钟前");
    EXPECT_EQ(ageOf(3660), "1 小时前");
    EXPECT_EQ(ageOf(89999), "24 小时前");
    EXPECT_EQ(ageOf(90000), "1 天前");
    EXPECT_EQ(ageOf(86400 * 9), "9 天前");
}

// --- Picture loader
// ---------------------------------------------------------------------------------

class PictureLoaderTest : public ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        scope.emplace();
        startShareService();
        services->setReply("GET", kPath, fakes::Reply{200, "image/png", picturePng()});
        url = services->baseUrl() + kPath;
    }
    static std::string picturePng() {
        return platform::Image::fromARGB(5, 3, std::vector<std::uint32_t>(15, 0xff99aa33u))
            .pngData();
    }
    // The loader schedules each start on the main loop: its clock moves while a case waits.
    bool wait(const std::function<bool()>& done) {
        auto& loop = platform::RunLoop::main();
        return loop.runUntil([&] {
            loop.advance(platform::seconds(0.02));
            return done();
        });
    }
    void TearDown() override {
        platform::RunLoop::main().runUntil(
            [] { return platform::HttpClient::shared().inFlight() == 0; });
        scope.reset();
        ShareSdkTest::TearDown();
    }
    static constexpr const char* kPath = "/lanxi-test/poster.png";
    std::optional<platform::testing::UiTestScope> scope;
    std::string url;
};

class Recorder : public SHImageLoaderObserver {
public:
    void imageLoaderDidLoad(const SHImageLoaderNotification& n) override { loaded.push_back(n); }
    void imageLoaderDidFailToLoad(const SHImageLoaderNotification& n) override {
        failed.push_back(n);
    }
    std::vector<SHImageLoaderNotification> loaded;
    std::vector<SHImageLoaderNotification> failed;
};

TEST_F(PictureLoaderTest, GifModeKeepsAndAnnouncesTheBytesUndecoded) {
    auto loader = SHSocialImageLoader::sharedImageLoader();
    auto recorder = std::make_shared<Recorder>();
    const std::string gifLike = "GIF89a-not-really-a-picture";
    services->setReply("GET", kPath, fakes::Reply{200, "image/gif", gifLike});
    EXPECT_FALSE(loader->dataForURL(url, recorder, true));
    EXPECT_TRUE(loader->isGif);
    ASSERT_TRUE(wait([&] { return !recorder->loaded.empty() || !recorder->failed.empty(); }));
    ASSERT_EQ(recorder->loaded.size(), 1u);
    EXPECT_EQ(recorder->loaded[0].imageGif, gifLike);
    EXPECT_TRUE(recorder->loaded[0].image.isNull());
    // Served from the cache next time, bytes as they came.
    EXPECT_EQ(loader->dataForURL(url, recorder, true), gifLike);
    EXPECT_EQ(services->requestsTo(kPath).size(), 1u);
}

TEST_F(PictureLoaderTest, ACancelledLoadAnnouncesNothingAndCachesNothing) {
    services->holdReplies("GET", kPath);
    auto loader = SHSocialImageLoader::sharedImageLoader();
    auto recorder = std::make_shared<Recorder>();
    loader->loadImageForURL(url, recorder);
    ASSERT_TRUE(wait([&] { return !services->requestsTo(kPath).empty(); }));
    ASSERT_TRUE(services->waitForHeld(kPath, 1, std::chrono::seconds(10)));
    EXPECT_TRUE(loader->isLoadingImageURL(url));
    loader->cancelLoadForURL(url);
    EXPECT_FALSE(loader->isLoadingImageURL(url));
    ASSERT_TRUE(services->releaseHeld(kPath));
    ASSERT_TRUE(waitUntilQuiet());
    EXPECT_TRUE(recorder->loaded.empty());
    EXPECT_FALSE(loader->hasLoadedImageURL(url));
}

TEST_F(PictureLoaderTest, ACacheLifetimeOfZeroIsRefusedAndTheOldOneKept) {
    auto loader = SHSocialImageLoader::sharedImageLoader();
    const double before = loader->cacheSeconds();
    std::vector<std::string> lines;
    platform::setLogSink([&lines](const std::string& line) { lines.push_back(line); });
    SHSocialImageView view(platform::Image{});
    view.setCacheSecondes(0);
    platform::setLogSink(nullptr);
    EXPECT_EQ(loader->cacheSeconds(), before);
    loader->setCacheSeconds(0);
    EXPECT_EQ(loader->cacheSeconds(), before);
    bool told = false;
    for (const auto& line : lines)
        if (line.find("is error") != std::string::npos)
            told = true;
    EXPECT_TRUE(told);
    view.setCacheSecondes(60);
    EXPECT_EQ(loader->cacheSeconds(), 60);
}

TEST_F(PictureLoaderTest, AViewReleasedMidLoadShowsNothingAndALaterViewGetsTheCachedPicture) {
    services->holdReplies("GET", kPath);
    auto view = std::make_shared<SHSocialImageView>(platform::Image{});
    view->setImageURL(url);
    ASSERT_TRUE(wait([&] { return !services->requestsTo(kPath).empty(); }));
    ASSERT_TRUE(services->waitForHeld(kPath, 1, std::chrono::seconds(10)));
    std::weak_ptr<SHSocialImageView> watch = view;
    view.reset();
    EXPECT_TRUE(watch.expired());
    ASSERT_TRUE(services->releaseHeld(kPath));
    auto loader = SHSocialImageLoader::sharedImageLoader();
    ASSERT_TRUE(wait([&] { return loader->hasLoadedImageURL(url); }));
    auto later = std::make_shared<SHSocialImageView>(platform::Image{});
    later->setImageURL(url);
    EXPECT_TRUE(later->isCacheImage());
    EXPECT_EQ(later->image().size(), (platform::Size{5, 3}));
    EXPECT_EQ(services->requestsTo(kPath).size(), 1u);
}

}  // namespace
}  // namespace sharetest
