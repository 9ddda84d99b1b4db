// The share SDK's smaller interfaces as a host or a platform handler uses them: the composer
// platforms' link picture, the handlers' image, text and URL-scheme helpers, the share entity's
// sign-in address, the link-address failure texts, the account description, the open-URL
// hand-back, the edit screen's alert handler and the application delegate's window.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "SocialSDK/base/SHSocialProtocolData.h"
#include "SocialSDK/screens/SHSOauthViewController.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/screens/SHSocialScreens.h"
#include "SocialSDK/service/SHSBarEntity.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSSNSEntity.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialExtConfig.h"
#include "SocialSDK/service/SHSocialSnsData.h"
#include "SocialSDK/service/SHSocialSnsHandler.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialSnsService.h"
#include "SocialSDK/service/SHSocialToast.h"
#include "platform/devices/SocialComposeViewController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

namespace sharetest {
namespace {

platform::Image solid(int width, int height, std::uint32_t argb = 0xff336699u) {
    return platform::Image::fromARGB(
        width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), argb));
}

// --- Composer platforms: the link picture after the availability check ---------------------------

class LinkPictureTest : public ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        startShareService();
        services->setReply("GET", kPicturePath,
                           fakes::Reply{200, "image/png", solid(6, 4).pngData()});
        subject = SHSocialData::defaultData();
        subject->setShareText(std::string("开放日"));
        subject->setUrlResource(std::make_shared<SHSocialUrlResource>(
            SHSocialUrlResource{services->baseUrl() + kPicturePath, 1}));
        service = std::make_shared<SHSocialControllerService>(subject);
        window = platform::View::make<platform::Window>();
        window->setRootViewController(host);
        window->makeKeyAndVisible();
    }
    void TearDown() override {
        platform::SocialComposeViewController::resetDevice();
        window->setRootViewController(nullptr);
        window.reset();
        ShareSdkTest::TearDown();
    }
    static constexpr const char* kPicturePath = "/lanxi-test/link-picture.png";
    std::shared_ptr<SHSocialData> subject;
    std::shared_ptr<SHSocialControllerService> service;
    std::shared_ptr<platform::ViewController> host = std::make_shared<platform::ViewController>();
    std::shared_ptr<platform::Window> window;
};

TEST_F(LinkPictureTest, NoPictureIsFetchedWhenTheComposerCannotBeShown) {
    auto twitter = SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName("twitter");
    ASSERT_TRUE(twitter);
    twitter->snsClickHandler(host, service, true);
    ASSERT_TRUE(waitUntilQuiet());
    EXPECT_TRUE(services->requestsTo(kPicturePath).empty());
    EXPECT_FALSE(host->presentedViewController());
}

TEST_F(LinkPictureTest, ThePictureArrivesWithoutHoldingTheTapAndTheComposerThenShowsIt) {
    platform::SocialComposeViewController::setAvailableForServiceType("facebook", true);
    services->holdReplies("GET", kPicturePath);
    auto facebook = SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName("facebook");
    ASSERT_TRUE(facebook);
    facebook->snsClickHandler(host, service, true);
    // The tap has returned while the picture's reply is still held: nothing waited for it.
    EXPECT_FALSE(host->presentedViewController());
    ASSERT_TRUE(services->waitForHeld(kPicturePath, 1, std::chrono::seconds(10)));
    ASSERT_TRUE(services->releaseHeld(kPicturePath));
    ASSERT_TRUE(platform::RunLoop::main().runUntil(
        [this] { return host->presentedViewController() != nullptr; }));
    auto composer = std::dynamic_pointer_cast<platform::SocialComposeViewController>(
        host->presentedViewController());
    ASSERT_TRUE(composer);
    EXPECT_EQ(composer->post().text, "开放日");
    ASSERT_EQ(composer->post().images.size(), 1u);
    EXPECT_EQ(composer->post().images[0].size(), (platform::Size{6, 4}));
}

TEST_F(LinkPictureTest, AFailedPictureFallsBackToTheSubjectsOwn) {
    platform::SocialComposeViewController::setAvailableForServiceType("twitter", true);
    services->setReply("GET", kPicturePath, fakes::Reply{404, "text/plain", "gone"});
    subject->setShareImage(solid(3, 3));
    auto twitter = SHSocialSnsPlatformManager::sharedInstance().getSnsPlatformWithName("twitter");
    twitter->snsClickHandler(host, service, true);
    ASSERT_TRUE(platform::RunLoop::main().runUntil(
        [this] { return host->presentedViewController() != nullptr; }));
    auto composer = std::dynamic_pointer_cast<platform::SocialComposeViewController>(
        host->presentedViewController());
    ASSERT_TRUE(composer);
    ASSERT_EQ(composer->post().images.size(), 1u);
    EXPECT_EQ(composer->post().images[0].size(), (platform::Size{3, 3}));
}

// --- Handler helpers
// ------------------------------------------------------------------------------

TEST(ShareHandlerHelpers, ScaleKeepsSmallImagesAndShrinksLargeOnesByTheSmallerRatio) {
    const auto small = solid(20, 10);
    EXPECT_EQ(SHSocialSnsHandler::scaleImage(small, {40, 40}).size(), (platform::Size{20, 10}));
    EXPECT_EQ(SHSocialSnsHandler::scaleImage(solid(200, 100), {50, 100}).size(),
              (platform::Size{50, 25}));
    // As tall as the target is not smaller: the ratio applies (here 1).
    EXPECT_EQ(SHSocialSnsHandler::scaleImage(solid(30, 40), {60, 40}).size(),
              (platform::Size{30, 40}));
    const auto jpeg = SHSocialSnsHandler::scaleAndComplessImage(solid(200, 100), {50, 100});
    ASSERT_GE(jpeg.size(), 3u);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[1]), 0xD8);
    EXPECT_EQ(platform::Image::decode(jpeg).size(), (platform::Size{50, 25}));
}

TEST(ShareHandlerHelpers, SubStringCutsAtTheByteLimitWithoutSplittingACharacter) {
    EXPECT_FALSE(SHSocialSnsHandler::subString("", "UTF-8", 4));
    EXPECT_EQ(SHSocialSnsHandler::subString("校园新闻", "UTF-8", 0), "校园新闻");
    EXPECT_EQ(SHSocialSnsHandler::subString("校园新闻", "UTF-8", 12), "校园新闻");
    // Three bytes a character in UTF-8: seven bytes hold two.
    EXPECT_EQ(SHSocialSnsHandler::subString("校园新闻", "UTF-8", 7), "校园");
    // Two in GB 18030.
    EXPECT_EQ(SHSocialSnsHandler::subString("校园新闻", "GB18030", 5), "校园");
    EXPECT_EQ(SHSocialSnsHandler::subString("ab校园", "GB18030", 3), "ab");
    EXPECT_EQ(SHSocialSnsHandler::subString("ab😀c", "UTF-8", 5), "ab");
    EXPECT_FALSE(SHSocialSnsHandler::subString("abc", "no-such-encoding", 2));
}

class ShareImageTest : public ShareSdkTest {};

TEST_F(ShareImageTest, ThePlatformsPictureComesBeforeTheSubjectsAndAnImageLinkBeforeBoth) {
    startShareService();
    services->setReply("GET", "/lanxi-test/p.png",
                       fakes::Reply{200, "image/png", solid(7, 5).pngData()});
    auto subject = SHSocialData::defaultData();
    subject->setShareImage(solid(2, 2));
    EXPECT_EQ(
        std::get<platform::Image>(SHSocialSnsHandler::getShareImage(*subject, "qzone")).size(),
        (platform::Size{2, 2}));
    subject->extConfig()->qzoneData->shareImage = solid(4, 4);
    EXPECT_EQ(
        std::get<platform::Image>(SHSocialSnsHandler::getShareImage(*subject, "qzone")).size(),
        (platform::Size{4, 4}));
    subject->extConfig()->qzoneData->urlResource = std::make_shared<SHSocialUrlResource>(
        SHSocialUrlResource{services->baseUrl() + "/lanxi-test/p.png", 1});
    EXPECT_EQ(
        std::get<platform::Image>(SHSocialSnsHandler::getShareImage(*subject, "qzone")).size(),
        (platform::Size{7, 5}));
}

TEST(ShareURLSchemes, TheLastURLTypeWithThePrefixWinsAndTheAppsOwnTypesAreRead) {
    const auto types = platform::Json::array(
        {{{"CFBundleURLName", "lanxi.share"}, {"CFBundleURLSchemes", {"lx1234", "lxshare"}}},
         {{"CFBundleURLName", "lanxi.chat"}, {"CFBundleURLSchemes", {"other", "lx9876"}}},
         "not a type"});
    EXPECT_EQ(SHSocialSnsHandler::searchForURLSchemeWithPrefix("lx", types), "lx9876://");
    EXPECT_EQ(SHSocialSnsHandler::searchForURLSchemeWithPrefix("lxs", types), "lxshare://");
    EXPECT_FALSE(SHSocialSnsHandler::searchForURLSchemeWithPrefix("wx", types));
    // The application's bundle declares no URL types: nothing is found.
    EXPECT_FALSE(SHSocialSnsHandler::searchForURLSchemeWithURLName("lanxi.chat"));
    EXPECT_FALSE(SHSocialSnsHandler::getUrlSchemeWithPrefix("lx"));
    EXPECT_FALSE(SHSocialSnsHandler::searchForURLSchemeWithPrefix("lx"));
}

// --- Share entity -------------------------------------------------------------------------------

TEST_F(ShareImageTest, TheShareEntityKnowsItsDescriptorAndItsSignInAddress) {
    startShareService();
    SHSDataManager::currentDataManager()->barEntity()->entityKey = "ek-42";
    SHSUserManager::shareInstance().setUid("u-7");
    SHSSNSEntity qzone(10);
    ASSERT_TRUE(qzone.scSnsDescriptor);
    EXPECT_EQ(qzone.scSnsDescriptor->platformName, "qzone");
    EXPECT_EQ(qzone.oauthURLString(), services->shareServiceBase() + "share/auth/" + kAppKey +
                                          "/ek-42?ak=" + kAppKey + "&uid=u-7&via=qzone&sdkv=5.0");
    SHSSNSEntity none(9);
    EXPECT_FALSE(none.scSnsDescriptor);
    EXPECT_EQ(none.oauthURLString().find("(null)"), std::string::npos);
}

// --- Link-address failures
// ------------------------------------------------------------------------

class NoAddressDevice : public FixedDeviceInfo {
public:
    LinkLayerFailure failure = LinkLayerFailure::NoInterface;
    LinkLayerFailure linkLayerFailure() const override { return failure; }
};

std::string stdoutOf(const std::function<void()>& run) {
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    run();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

TEST(ShareDeviceMac, EachWayTheAddressCannotBeReadHasItsText) {
    auto device = std::make_shared<NoAddressDevice>();
    device->mac.reset();
    SHSocialDeviceInfo::setCurrent(device);
    using Failure = SHSocialDeviceInfo::LinkLayerFailure;
    const std::pair<Failure, const char*> cases[] = {
        {Failure::NoInterface, "Error: if_nametoindex error\n"},
        {Failure::Unreadable, "Error: sysctl, take 1\n"},
        {Failure::NoMemory, "Could not allocate memory. error!\n"},
        {Failure::NotAnAddress, "Error: sysctl, take 2\n"},
    };
    for (const auto& [failure, text] : cases) {
        device->failure = failure;
        EXPECT_EQ(stdoutOf([] { EXPECT_FALSE(SHSocialProtocolData::deviceMacString()); }), text);
    }
    // An address of the wrong length is not an address.
    device->mac = std::string("\x01\x02\x03", 3);
    EXPECT_EQ(stdoutOf([] { EXPECT_FALSE(SHSocialProtocolData::deviceMacString()); }),
              "Error: sysctl, take 2\n");
    SHSocialDeviceInfo::setCurrent(nullptr);
}

// --- Account description
// --------------------------------------------------------------------------

TEST(ShareAccountDescription, ListsTheFieldsUpToTheFirstUnsetOneThenTheRefreshToken) {
    SHSocialAccountEntity account("qzone");
    account.userName = "林同学";
    account.usid = "qz-1";
    account.expirationDate = SHSocialAccountEntity::Date(std::chrono::seconds(1'700'003'600));
    account.refreshToken = "r-9";
    account.unionId = "un-1";
    // A fresh account's texts are empty, not unset: the list runs to expirationDate, stops at
    // the unset refreshDate, and refreshToken is put once more by itself.
    const auto text = account.description();
    const auto fields = platform::Json::parse(text);
    std::vector<std::string> keys;
    for (const auto& item : fields.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"platformName", "userName", "usid", "iconURL",
                                              "accessToken", "accessSecret", "profileURL",
                                              "expirationDate", "refreshToken"}));
    EXPECT_EQ(fields["refreshToken"], "r-9");
    EXPECT_EQ(fields["userName"], "林同学");
    EXPECT_EQ(text.find("(null)"), std::string::npos);
}

// --- Open-URL hand-back
// ---------------------------------------------------------------------------

class WaitingSignOn : public SHSocialSnsHandlerDelegate {
public:
    bool handleOpenURL(const std::string& url) override {
        urls.push_back(url);
        return true;
    }
    std::vector<std::string> urls;
};

TEST_F(ShareImageTest, AnOpenedURLGoesOnceToTheSignOnHandlerThatWaits) {
    EXPECT_FALSE(SHSocialSnsService::handleOpenURL("lx1234://back", nullptr));
    auto waiting = std::make_shared<WaitingSignOn>();
    SHSocialSnsHandler::shareInstance().currentSnsHandler = waiting;
    auto chatDelegate = std::make_shared<int>(0);
    EXPECT_TRUE(SHSocialSnsService::handleOpenURL("lx1234://back?code=1", chatDelegate));
    EXPECT_FALSE(SHSocialSnsService::handleOpenURL("lx1234://again"));
    EXPECT_EQ(waiting->urls, std::vector<std::string>{"lx1234://back?code=1"});
}

TEST(SharePlatformNames, TheTableHoldsTheNamesInTheirSlotsWithTheEighthEmpty) {
    EXPECT_STREQ(SHShareToNames[0], "sina");
    EXPECT_STREQ(SHShareToNames[4], "qzone");
    EXPECT_EQ(SHShareToNames[7], nullptr);
    EXPECT_STREQ(SHShareToNames[9], "facebook");
    EXPECT_STREQ(SHShareToNames[22], "line");
}

// --- Screens: the edit screen's alert handler, the delegate's window
// ------------------------------

class AppWindowDelegate : public platform::ApplicationDelegate {
public:
    std::shared_ptr<platform::Window> window() const override { return mainWindow; }
    std::shared_ptr<platform::Window> mainWindow;
};

// A host screen; a case that gives the application a delegate has it taken away at the end.
class ShareScreenHooksTest : public ShareHostTest {
protected:
    void TearDown() override {
        platform::Application::shared().setDelegate(nullptr);
        ShareHostTest::TearDown();
    }
};

TEST_F(ShareScreenHooksTest, AnExpiredAuthorisationAlertSignsInAgainAndOtherAlertsClose) {
    auto account = std::make_shared<SHSocialAccountEntity>("tencent");
    account->usid = "t-1";
    SHSocialAccountManager::setSnsAccount(account);
    auto service = SHSocialControllerService::defaultControllerService();
    auto wrapper = std::dynamic_pointer_cast<platform::NavigationController>(
        service->getSocialShareEditControllerInternal("tencent", std::nullopt));
    ASSERT_TRUE(wrapper);
    host->presentViewController(wrapper, false);
    settle();
    auto edit = std::dynamic_pointer_cast<SHShareEditViewController>(wrapper->topViewController());
    ASSERT_TRUE(edit);

    auto alert = platform::View::make<platform::AlertView>(
        "授权过期", "", std::weak_ptr<platform::AlertViewDelegate>(), "取消",
        std::vector<std::string>{"重新授权"});
    alert->setTag(SHShareEditViewController::kAuthExpiredAlertTag);
    edit->clickedButtonAtIndex(*alert, 0);
    EXPECT_EQ(wrapper->viewControllers().size(), 1u);
    edit->clickedButtonAtIndex(*alert, 1);
    settle();
    ASSERT_EQ(wrapper->viewControllers().size(), 2u);
    EXPECT_TRUE(std::dynamic_pointer_cast<SHSOauthViewController>(wrapper->topViewController()));
    wrapper->popViewController(false);

    alert->setTag(SHShareEditViewController::kTextRepeatedAlertTag);
    edit->clickedButtonAtIndex(*alert, 0);
    settle();
    EXPECT_TRUE(host->presentedViewController());
    alert->setTag(1);
    edit->clickedButtonAtIndex(*alert, 0);
    settle();
    EXPECT_FALSE(host->presentedViewController());
}

TEST_F(ShareScreenHooksTest, TheRegistrysMaskShowsItsWaitingTextForThirtySecondsUntilRemoved) {
    auto& registry = SHSocialSnsPlatformManager::sharedInstance();
    registry.addMaskView();
    ASSERT_TRUE(registry.toast);
    EXPECT_EQ(registry.toast->text(), "请稍等......");
    EXPECT_EQ(registry.toast->duration(), 30000);
    EXPECT_TRUE(registry.toast->view());
    registry.removeMaskView();
    EXPECT_FALSE(registry.toast->view());
    // The handler's mask is removed the same way; without one nothing happens.
    SHSocialSnsHandler::shareInstance().removeMaskView();
}

TEST_F(ShareScreenHooksTest, TheSignInPageMakesTheApplicationsWindowKey) {
    auto delegate = std::make_shared<AppWindowDelegate>();
    delegate->mainWindow = platform::View::make<platform::Window>();
    delegate->mainWindow->setRootViewController(std::make_shared<platform::ViewController>());
    platform::Application::shared().setDelegate(delegate);
    ASSERT_FALSE(delegate->mainWindow->isKeyWindow());
    auto service = SHSocialControllerService::defaultControllerService();
    auto wrapper = service->getSocialOauthControllerInternal("qzone", std::nullopt);
    ASSERT_TRUE(wrapper);
    host->presentViewController(wrapper, false);
    settle();
    EXPECT_TRUE(delegate->mainWindow->isKeyWindow());
}

}  // namespace
}  // namespace sharetest
