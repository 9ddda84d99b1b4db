// The pictures a page's command asks for (the preview's two, the share's one) come from hosts
// that answer only when the test says: the main thread goes on meanwhile, the loading overlay
// shows, and what the command opens opens only once its pictures are in or have failed, and
// never after the user went back or left the page.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "SocialSDK/service/SHSProtocol.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialExtConfig.h"
#include "SocialSDK/service/SHSocialHttpClient.h"
#include "SocialSDK/service/SHSocialSnsService.h"
#include "client/ServiceConfig.h"
#include "components/hud/ProgressHUD.h"
#include "fakes/FakeSchoolServices.h"
#include "fakes/GeneratedImage.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpClient.h"
#include "platform/net/PictureFetches.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/support/TempHome.h"
#include "tests/webcontainer/PageSettle.h"
#include "webcontainer/RootViewController.h"
#include "webcontainer/WebDetailViewController.h"

using platform::Json;

namespace {

constexpr const char* kFirst = "/upload/demo/wide.png";
constexpr const char* kSecond = "/upload/demo/tall.png";
constexpr const char* kThird = "/upload/demo/third.png";
constexpr const char* kSharePicture = "/upload/demo/share.png";

class CommandPicturesTest : public ::testing::Test {
protected:
    CommandPicturesTest() {
        server.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
        // Told apart by their shapes, so that their order shows in the pager.
        server.setReply("GET", kFirst,
                        fakes::Reply{200, "image/png", fakes::generatedPng(6, 4, 1)});
        server.setReply("GET", kSecond,
                        fakes::Reply{200, "image/png", fakes::generatedPng(3, 5, 2)});
        navigation = std::make_shared<platform::NavigationController>(
            std::make_shared<platform::ViewController>());
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }
    ~CommandPicturesTest() override {
        drain();
        server.stop();
        ServiceConfig::shared().reload();
    }

    // The container on the demonstration page, loaded.
    void open() {
        page = std::make_shared<WebDetailViewController>();
        page->setTitleStr("移动考勤");
        page->setUrlStr(server.baseUrl() + "/bridge-demo.html");
        navigation->pushViewController(page, false);
        waitForThePage();
    }
    void waitForThePage() {
        ASSERT_TRUE(driver.runUntil(
            [&] {
                return page->webView() && !page->webView()->isBusy() && !page->loadingOverlay();
            },
            pagesettle::kBound.count()));
    }
    // The page shown goes elsewhere (the page's own navigation, or back) on a later turn:
    // waits for the page that comes.
    void showAnew(const std::function<void(platform::WebView&)>& move) {
        const auto before = page->webView()->pageIdentity();
        move(*page->webView());
        ASSERT_TRUE(driver.runUntil([&] { return page->webView()->pageIdentity() != before; },
                                    pagesettle::kBound.count()));
        waitForThePage();
    }
    // The page itself sends the command, as its buttons do.
    void send(const std::string& word, const Json& argument) {
        page->webView()->stringByEvaluatingJavaScriptFromString("send('" + word + "', " +
                                                                argument.dump() + ")");
        // The page asks for the command on a later turn.
        ASSERT_TRUE(pagesettle::settleWeb());
        scope.advance(0.1);
    }
    void previewFromThePage(std::vector<std::string> paths) {
        Json urls = Json::array();
        for (const auto& path : paths) urls.push_back(server.baseUrl() + path);
        send("previewImage", Json{{"urls", urls}});
    }
    // The main loop runs meanwhile: the next download starts from it.
    bool held(const char* path) {
        return driver.runUntil([&] { return !server.heldRequests(path).empty(); }).ok;
    }
    std::shared_ptr<RootViewController> pager() const {
        return std::dynamic_pointer_cast<RootViewController>(navigation->topViewController());
    }
    // Lets whatever is under way come to pass, held replies included.
    void drain() {
        for (const char* path : {kFirst, kSecond, kThird, kSharePicture}) {
            while (server.releaseHeld(path)) {
            }
        }
        driver.runUntil(
            [] {
                return platform::HttpClient::shared().inFlight() == 0 &&
                       platform::dispatch::backgroundWorkInFlight() == 0;
            },
            10);
        scope.advance(1);
    }

    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    fakes::FakeSchoolServices server;
    std::shared_ptr<platform::Window> window = platform::View::make<platform::Window>();
    std::shared_ptr<platform::NavigationController> navigation;
    std::shared_ptr<WebDetailViewController> page;
};

TEST_F(CommandPicturesTest, ThePagerWaitsForBothPicturesInOrderWhileTheMainThreadGoesOn) {
    open();
    server.holdReplies("GET", kFirst);
    server.holdReplies("GET", kSecond);
    int ticks = 0;
    auto timer = platform::RunLoop::main().scheduleTimer(platform::seconds(0.05), true,
                                                         [&](platform::Timer&) { ++ticks; });

    previewFromThePage({kFirst, kSecond, kThird});
    ASSERT_TRUE(held(kFirst));
    // The second is asked for only once the first is in, and the third never.
    EXPECT_TRUE(server.requestsTo(kSecond).empty());
    ASSERT_TRUE(page->loadingOverlay());
    EXPECT_EQ(page->loadingOverlay()->labelText(), WebDetailViewController::kLoadingText);
    ticks = 0;
    scope.advance(1);
    EXPECT_GE(ticks, 19);
    EXPECT_EQ(navigation->topViewController(), page);
    // Still not, a second on: not merely slower to arrive than the first.
    EXPECT_TRUE(server.requestsTo(kSecond).empty());

    ASSERT_TRUE(server.releaseHeld(kFirst));
    ASSERT_TRUE(held(kSecond));
    ticks = 0;
    scope.advance(1);
    EXPECT_GE(ticks, 19);
    EXPECT_FALSE(pager()) << "the pager waits for both pictures";

    ASSERT_TRUE(server.releaseHeld(kSecond));
    ASSERT_TRUE(driver.runUntil([&] { return pager() != nullptr; }));
    const auto& images = pager()->myArray();
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].size(), (platform::Size{6, 4}));
    EXPECT_EQ(images[1].size(), (platform::Size{3, 5}));
    EXPECT_FALSE(page->loadingOverlay());
    EXPECT_TRUE(server.requestsTo(kThird).empty());
    timer->invalidate();
}

TEST_F(CommandPicturesTest, APictureThatFailsLeavesThePagerTheOtherAndNoneLeavesItShut) {
    open();
    server.setReply("GET", kFirst, fakes::Reply{404, "text/plain", "gone"});
    previewFromThePage({kFirst, kSecond});
    ASSERT_TRUE(driver.runUntil([&] { return pager() != nullptr; }));
    ASSERT_EQ(pager()->myArray().size(), 1u);
    EXPECT_EQ(pager()->myArray()[0].size(), (platform::Size{3, 5}));

    navigation->popViewController(false);
    server.setReply("GET", kSecond, fakes::Reply{200, "image/png", "not a picture"});
    previewFromThePage({kFirst, kSecond});
    ASSERT_TRUE(driver.runUntil([&] { return !page->isWaitingForPictures(); }));
    drain();
    EXPECT_EQ(navigation->topViewController(), page);
    EXPECT_FALSE(page->loadingOverlay());
}

TEST_F(CommandPicturesTest, BackCancelsThePicturesAndNothingOpensAfterwards) {
    open();
    // A second page of the school's in the web view's history, so that back stays in the
    // container.
    showAnew([&](platform::WebView& web) {
        ASSERT_TRUE(web.simulateNavigation(server.baseUrl() + "/bridge-demo.html?again=1"));
    });
    ASSERT_TRUE(page->webView()->canGoBack());
    server.holdReplies("GET", kFirst);
    previewFromThePage({kFirst, kSecond});
    ASSERT_TRUE(held(kFirst));

    ASSERT_TRUE(driver.tap("back"));
    EXPECT_FALSE(page->loadingOverlay());
    EXPECT_FALSE(page->isWaitingForPictures());
    ASSERT_TRUE(driver.runUntil([] {
        return platform::PictureFetches::shared().holdingRoom() == 0;
    })) << "the download under way is given up";
    ASSERT_TRUE(server.releaseHeld(kFirst));
    drain();
    EXPECT_EQ(navigation->topViewController(), page);
    EXPECT_TRUE(server.requestsTo(kSecond).empty());
}

TEST_F(CommandPicturesTest, LeavingThePageOrTheContainerCancelsThePictures) {
    open();
    server.holdReplies("GET", kFirst);
    previewFromThePage({kFirst, kSecond});
    ASSERT_TRUE(held(kFirst));
    // The page follows a link to another of the school's pages.
    showAnew([&](platform::WebView& web) {
        ASSERT_TRUE(web.simulateNavigation(server.baseUrl() + "/news/list.html"));
    });
    EXPECT_FALSE(page->isWaitingForPictures());
    ASSERT_TRUE(server.releaseHeld(kFirst));
    drain();
    EXPECT_EQ(navigation->topViewController(), page);
    EXPECT_TRUE(server.requestsTo(kSecond).empty());

    // Back on the demonstration page, which asks again; then the container goes, as when the
    // client quits.
    showAnew([](platform::WebView& web) { web.goBack(); });
    server.clearRequests();
    previewFromThePage({kFirst, kSecond});
    ASSERT_TRUE(held(kFirst));
    navigation->popViewController(false);
    std::weak_ptr<WebDetailViewController> gone = page;
    page.reset();
    scope.advance(1);
    EXPECT_TRUE(gone.expired());
    ASSERT_TRUE(server.releaseHeld(kFirst));
    drain();
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    EXPECT_TRUE(server.requestsTo(kSecond).empty());
}

// The share sheet waits for its picture in the same way.
class SharePictureTest : public CommandPicturesTest {
protected:
    SharePictureTest() {
        const auto overlay = home.path() / "bundle-overlay";
        platform::writePropertyList(overlay / "SocialSDK-config.plist",
                                    Json{{"baseURL", server.shareServiceBase()}});
        platform::Bundle::main().setOverlayDirectory(overlay);
        SHSProtocol::resetSharedInstance();
        SHSocialHttpClient::resetSharedInstance();
        SHSocialSnsService::sharedInstance().iconSheet.reset();
        SHSocialData::defaultData()->extConfig()->qzoneData->url.reset();
        server.setReply("GET", kSharePicture,
                        fakes::Reply{200, "image/png", fakes::generatedPng(5, 2, 3)});
    }
    ~SharePictureTest() override {
        drain();
        platform::Bundle::main().setOverlayDirectory({});
        SHSProtocol::resetSharedInstance();
        SHSocialHttpClient::resetSharedInstance();
    }
    void share() {
        send("onMenuShare", Json{{"targetUrl", server.baseUrl() + "/news/share.html"},
                                 {"title", "岚溪学院"},
                                 {"shareContent", "校园新闻"},
                                 {"shareImage", server.baseUrl() + kSharePicture}});
    }
    static bool sheetShown() { return SHSocialSnsService::sharedInstance().iconSheet != nullptr; }
    static std::string sharedAddress() {
        return SHSocialData::defaultData()->extConfig()->qzoneData->url.value_or("");
    }
    static SHSImageObject sharedPicture() {
        auto service = SHSocialSnsService::sharedInstance().socialControllerService;
        return service && service->socialData ? service->socialData->shareImage()
                                              : SHSImageObject{};
    }

    testsupport::TempHome home;
};

TEST_F(SharePictureTest, TheSheetShowsWithItsPictureOnceThePictureIsIn) {
    open();
    server.holdReplies("GET", kSharePicture);
    share();
    ASSERT_TRUE(held(kSharePicture));
    scope.advance(1);
    EXPECT_FALSE(sheetShown());
    EXPECT_EQ(sharedAddress(), "");
    EXPECT_TRUE(page->loadingOverlay());

    ASSERT_TRUE(server.releaseHeld(kSharePicture));
    ASSERT_TRUE(driver.runUntil([] { return sheetShown(); }));
    EXPECT_EQ(sharedAddress(), server.baseUrl() + "/news/share.html");
    const SHSImageObject picture = sharedPicture();
    ASSERT_TRUE(std::holds_alternative<platform::Image>(picture));
    EXPECT_EQ(std::get<platform::Image>(picture).size(), (platform::Size{5, 2}));
    EXPECT_FALSE(page->loadingOverlay());
}

TEST_F(SharePictureTest, APictureThatFailsGivesTheSheetWithoutOne) {
    open();
    server.setReply("GET", kSharePicture, fakes::Reply{500, "text/plain", "broken"});
    share();
    ASSERT_TRUE(driver.runUntil([] { return sheetShown(); }));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(sharedPicture()));
    EXPECT_EQ(sharedAddress(), server.baseUrl() + "/news/share.html");
}

TEST_F(SharePictureTest, BackWhileThePictureLoadsGivesNoSheet) {
    open();
    server.holdReplies("GET", kSharePicture);
    share();
    ASSERT_TRUE(held(kSharePicture));
    ASSERT_TRUE(driver.tap("back"));
    ASSERT_TRUE(server.releaseHeld(kSharePicture));
    drain();
    EXPECT_FALSE(sheetShown());
    EXPECT_EQ(sharedAddress(), "");
}

}  // namespace
