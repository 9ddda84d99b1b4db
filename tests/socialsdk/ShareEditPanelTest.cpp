// The share edit screen around its text: the attachment and its delete sheet, the media link's
// picture, what a share carries, the follow offer, the synchronous share's progress bar, the
// account panel and the layout over the keyboard.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "SocialSDK/screens/SHSOauthViewController.h"
#include "SocialSDK/screens/SHShareEditLayout.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/screens/SHSocialScreens.h"
#include "SocialSDK/service/SHSBarEntity.h"
#include "SocialSDK/service/SHSDataManager.h"
#include "SocialSDK/service/SHSFriendEntity.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialImageLoader.h"
#include "fakes/GeneratedImage.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

namespace {

constexpr const char* kFollowPath = "/share/share/follow/lanxi-demo-appkey/u-9001/";
constexpr int kShareAction = 5;
constexpr int kFollowAction = 13;

platform::Image picture() {
    return platform::Image::decode(fakes::generatedPng(40, 30, 7));
}

// A field the service opened from the request: the posted envelope's first, then the query's.
std::string field(const fakes::ShareServiceRequest& request, const std::string& key) {
    if (request.body.is_object() && request.body.contains(key)) {
        const auto& value = request.body[key];
        return value.is_string() ? value.get<std::string>() : value.dump();
    }
    return request.queryValue(key).value_or("");
}

class ShareEditPanelTest : public sharetest::ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        SHSocialInstallScreens();
        service = SHSocialControllerService::defaultControllerService();
        service->currentSnsPlatformName = "qzone";
        signIn("u-9001");
    }
    void TearDown() override {
        if (window)
            window->setRootViewController(nullptr);
        window.reset();
        service.reset();
        SHSocialControllerService::screens() = {};
        SHSocialConfigInternal::shareInstance().followSnsUids.clear();
        SHSocialConfigInternal::shareInstance().shouldShareSynchronous = false;
        ShareSdkTest::TearDown();
    }

    void signIn(const std::string& usid, std::optional<std::string> userName = "林同学",
                std::optional<std::string> iconURL = std::nullopt) {
        auto account = std::make_shared<SHSocialAccountEntity>("qzone");
        account->usid = usid;
        account->userName = std::move(userName);
        account->iconURL = std::move(iconURL);
        SHSocialAccountManager::setSnsAccount(account);
    }

    // The edit screen as the controller service hands it, presented over a host screen.
    std::shared_ptr<SHShareEditViewController> open() {
        auto handed = std::dynamic_pointer_cast<platform::NavigationController>(
            service->getSocialShareEditControllerInternal("qzone", std::nullopt));
        if (!handed)
            return nullptr;
        if (!window) {
            window = platform::View::make<platform::Window>();
            window->setRootViewController(std::make_shared<platform::ViewController>());
            window->makeKeyAndVisible();
        }
        auto host = window->rootViewController();
        if (host->presentedViewController())
            host->dismissViewController(false);
        host->presentViewController(handed, false);
        return std::dynamic_pointer_cast<SHShareEditViewController>(handed->topViewController());
    }

    // The page's callback, the accounts, the page's close (on the clock), the accounts again:
    // whether the edit screen came to name the account so. Replies take the real time they
    // take; the page's timed steps come as the clock moves, a tenth of a second at a time.
    bool namedAfterSignIn(SHShareEditViewController& edit, const std::string& name) {
        auto named = [&] { return edit.snsNameLabel()->text() == name; };
        auto answered = [&] {
            return named() || (platform::HttpClient::shared().inFlight() == 0 &&
                               platform::dispatch::backgroundWorkInFlight() == 0 &&
                               !platform::WebView::anyBusy());
        };
        for (int step = 0; step < 40 && !named(); ++step) {
            scope.advance(0.1);
            driver.runUntil(answered);
        }
        return named();
    }
    std::optional<fakes::ShareServiceRequest> lastOf(int action) const {
        std::optional<fakes::ShareServiceRequest> last;
        for (const auto& request : services->shareRequests())
            if (request.action == action)
                last = request;
        return last;
    }
    // Pictures start loading a moment after they are asked for (on the clock); then the
    // main loop runs until the condition holds.
    bool picturesArrive(const std::function<bool()>& condition) {
        scope.advance(0.02);
        return bool(driver.runUntil(condition));
    }
    // The request of the path has arrived and its reply is held (the wire does not wake the
    // main loop, so this waits on the server).
    bool held(const std::string& path) {
        return services->waitForHeld(path, 1, std::chrono::seconds(10));
    }
    // The share route names the subject's entity key, which the bar request gives.
    std::string knownSharePath() {
        std::shared_ptr<SHSocialResponseEntity> bar;
        SHSDataManager::currentDataManager()->requestBarInfo(storeIn(bar));
        if (!waitFor(bar))
            return "(no bar)";
        auto key = SHSDataManager::currentDataManager()->barEntity()->entityKey;
        return "/share/share/multi_add/lanxi-demo-appkey/" + key.value_or("") + "/";
    }
    std::string shownAlert() const {
        auto alert = platform::AlertPresenter::shared().topAlert();
        return alert ? alert->alertMessage() : std::string("(no alert)");
    }

    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    std::shared_ptr<platform::Window> window;
    std::shared_ptr<SHSocialControllerService> service;
};

// --- The attachment at load and its delete sheet ---------------------------------------------

TEST_F(ShareEditPanelTest, PictureShowsAndOnlyItsSheetsDestructiveButtonDeletesIt) {
    SHSocialData::defaultData()->setShareImage(picture());
    auto edit = open();
    ASSERT_TRUE(edit);
    ASSERT_TRUE(edit->shareImageButton());
    ASSERT_TRUE(edit->deleteImageButton());
    EXPECT_FALSE(edit->shareImageButton()->image().isNull());
    EXPECT_EQ(edit->deleteImageButton()->tag(), SHShareEditViewController::kPictureDeleteTag);

    ASSERT_TRUE(driver.tap("shareDelete")) << driver.outline();
    auto sheet = edit->deleteSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->tag(), SHShareEditViewController::kPictureSheetTag);
    EXPECT_EQ(sheet->buttonTitles(), (std::vector<std::string>{"删除图片", "取消"}));
    ASSERT_TRUE(driver.pressAlertButton("取消"));
    EXPECT_TRUE(edit->holdsPicture()) << "cancel deletes nothing";

    ASSERT_TRUE(driver.tap("shareDelete"));
    ASSERT_TRUE(driver.pressAlertButton("删除图片"));
    EXPECT_FALSE(edit->holdsPicture());
    ASSERT_TRUE(edit->deleteImageButton());
    EXPECT_TRUE(edit->deleteImageButton()->isHidden());
    EXPECT_EQ(driver.outline().find("sharePicture"), std::string::npos);
    // Without its picture, a share of white space is refused.
    edit->textView()->setText(" \n\u3000");
    edit->pressSend();
    EXPECT_EQ(shownAlert(), "分享内容为空");
}

TEST_F(ShareEditPanelTest, TwitterCountsTheShownPictureUntilItIsDeleted) {
    // No handler opens "twitter" in this system: the screen is made as the service's maker
    // makes it.
    service->currentSnsPlatformName = "twitter";
    SHSocialData::defaultData()->setShareImage(picture());
    auto edit = std::make_shared<SHShareEditViewController>(service);
    edit->loadViewIfNeeded();
    EXPECT_EQ(edit->countLabel()->text(), "116");
    edit->deleteAttachment();
    EXPECT_EQ(edit->countLabel()->text(), "140");
}

TEST_F(ShareEditPanelTest, AShareWithNothingAtLoadIsSentAndTheServiceAnswers) {
    startShareService();
    auto edit = open();
    ASSERT_TRUE(edit);
    // The picture view and its delete button are off the screen, but the screen still holds
    // the picture view: the share has content.
    EXPECT_TRUE(edit->holdsPicture());
    ASSERT_TRUE(edit->shareImageButton());
    EXPECT_FALSE(edit->shareImageButton()->superview());
    EXPECT_EQ(driver.outline().find("sharePicture"), std::string::npos);
    EXPECT_EQ(driver.outline().find("shareDelete"), std::string::npos);
    edit->textView()->setText("");
    EXPECT_EQ(edit->validationError(), std::nullopt);
    edit->pressSend();
    EXPECT_EQ(shownAlert(), "(no alert)") << "nothing is refused on the spot";
    ASSERT_TRUE(driver.runUntil([&] { return requestsOf(kShareAction) == 1; }));
    EXPECT_TRUE(lastOf(kShareAction)->files.empty()) << "no picture goes with it";
    ASSERT_TRUE(driver.runUntil([] { return !sharetest::toastsOnScreen().empty(); }));
    EXPECT_EQ(sharetest::toastsOnScreen(), std::vector<std::string>{"发送成功"});
}

TEST_F(ShareEditPanelTest, MediaLinksShowTheirKindAndTheirSheetsNameIt) {
    struct Kind {
        int type;
        const char* placeholder;
        std::vector<std::string> buttons;
    };
    for (const Kind& kind : {Kind{2, "SHS_url_video", {"删除视频", "取消"}},
                             Kind{3, "SHS_url_music", {"删除音乐", "取消"}}}) {
        SCOPED_TRACE(kind.type);
        SHSocialData::defaultData()->setUrlResource(
            SHSocialUrlResourceMake(kind.type, "http://media.lanxi-campus.example/clip"));
        auto edit = open();
        ASSERT_TRUE(edit);
        ASSERT_TRUE(edit->shareImageButton());
        EXPECT_NE(edit->shareImageButton()->image().name().find(kind.placeholder),
                  std::string::npos);
        edit->selectUrlResource();
        auto sheet = edit->deleteSheet();
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sheet->tag(), 10 + kind.type);
        EXPECT_EQ(sheet->buttonTitles(), kind.buttons);
        ASSERT_TRUE(driver.pressAlertButton(kind.buttons[0]));
        EXPECT_FALSE(edit->holdsPicture());
    }
}

TEST_F(ShareEditPanelTest, SheetOfAMediaKindWithoutADeleteButtonDeletesNothingOnCancel) {
    SHSocialData::defaultData()->setUrlResource(
        SHSocialUrlResourceMake(4, "http://media.lanxi-campus.example/doc"));
    auto edit = open();
    ASSERT_TRUE(edit);
    edit->selectUrlResource();
    auto sheet = edit->deleteSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->buttonTitles(), std::vector<std::string>{"取消"});
    ASSERT_TRUE(driver.pressAlertButton(0));
    EXPECT_TRUE(edit->holdsPicture());
}

TEST_F(ShareEditPanelTest, ThePlatformsOwnPictureWinsOverTheMediaLink) {
    SHSocialData::defaultData()->setUrlResource(
        SHSocialUrlResourceMake(2, "http://media.lanxi-campus.example/clip"));
    SHSocialData::defaultData()->extConfig()->qzoneData->shareImage = picture();
    auto edit = open();
    ASSERT_TRUE(edit);
    ASSERT_TRUE(edit->shareImageButton());
    ASSERT_TRUE(edit->deleteImageButton());
    EXPECT_EQ(edit->shareImageButton()->image().name(), "");
    EXPECT_FALSE(edit->shareImageButton()->image().isNull());
    EXPECT_EQ(edit->deleteImageButton()->tag(), SHShareEditViewController::kPictureDeleteTag);
}

// --- The media link's picture ------------------------------------------------------------------

TEST_F(ShareEditPanelTest, MediaPictureIsFetchedOnceThenComesFromTheCache) {
    startShareService();
    services->setReply("GET", "/media/poster.png",
                       fakes::Reply{200, "image/png", fakes::generatedPng(64, 48, 3)});
    const std::string url = services->baseUrl() + "/media/poster.png";
    SHSocialData::defaultData()->setUrlResource(SHSocialUrlResourceMake(1, url));
    auto edit = open();
    ASSERT_TRUE(edit);
    ASSERT_TRUE(edit->shareImageButton());
    EXPECT_NE(edit->shareImageButton()->image().name().find("SHS_url_image"), std::string::npos)
        << "the placeholder while the picture is on the way";
    ASSERT_TRUE(picturesArrive([&] {
        return edit->shareImageButton() && edit->shareImageButton()->image().pixelWidth() == 64;
    }));
    EXPECT_EQ(services->requestsTo("/media/poster.png").size(), 1u);

    auto again = open();
    ASSERT_TRUE(again);
    ASSERT_TRUE(again->shareImageButton());
    EXPECT_EQ(again->shareImageButton()->image().pixelWidth(), 64)
        << "shown from the cache at once";
    platform::RunLoop::main().runPending();
    EXPECT_EQ(services->requestsTo("/media/poster.png").size(), 1u);
}

TEST_F(ShareEditPanelTest, MediaPictureThatCannotBeHadIsClearedAndItsLinkStillGoes) {
    startShareService();
    services->setReply("GET", "/media/gone.png", fakes::Reply{404, "text/plain", "gone"});
    const std::string url = services->baseUrl() + "/media/gone.png";
    SHSocialData::defaultData()->setUrlResource(SHSocialUrlResourceMake(1, url));
    auto edit = open();
    ASSERT_TRUE(edit);
    ASSERT_TRUE(edit->shareImageButton());
    ASSERT_TRUE(edit->deleteImageButton());
    ASSERT_TRUE(picturesArrive(
        [&] { return edit->shareImageButton() && edit->shareImageButton()->image().isNull(); }));
    EXPECT_FALSE(edit->deleteImageButton()->superview());
    EXPECT_TRUE(edit->holdsPicture());

    edit->textView()->setText("海报");
    edit->pressSend();
    ASSERT_TRUE(driver.runUntil([&] { return requestsOf(kShareAction) == 1; }));
    auto share = lastOf(kShareAction);
    EXPECT_EQ(field(*share, "furl"), url);
    EXPECT_EQ(field(*share, "ftype"), "0");
    EXPECT_TRUE(share->files.empty()) << "no picture goes with a link";
}

TEST_F(ShareEditPanelTest, MediaPictureArrivingAfterTheScreenHasGoneTouchesNothing) {
    startShareService();
    services->setReply("GET", "/media/late.png",
                       fakes::Reply{200, "image/png", fakes::generatedPng(20, 20, 5)});
    services->holdReplies("GET", "/media/late.png");
    SHSocialData::defaultData()->setUrlResource(
        SHSocialUrlResourceMake(1, services->baseUrl() + "/media/late.png"));
    std::weak_ptr<SHShareEditViewController> gone;
    {
        auto edit = open();
        ASSERT_TRUE(edit);
        gone = edit;
        scope.advance(0.02);
        ASSERT_TRUE(held("/media/late.png"));
        service->close();
        window->setRootViewController(nullptr);
    }
    scope.advance(1);
    EXPECT_TRUE(gone.expired());
    services->releaseHeld("/media/late.png");
    EXPECT_TRUE(driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }));
    platform::RunLoop::main().runPending();
    EXPECT_TRUE(SHSocialImageLoader::sharedImageLoader()->hasLoadedImageURL(services->baseUrl() +
                                                                            "/media/late.png"))
        << "the download still fills the cache for later";
}

// --- Sending ----------------------------------------------------------------------------------

TEST_F(ShareEditPanelTest, ShareCarriesThePictureClosesAtOnceAndToastsOnceCountersAreBack) {
    startShareService();
    SHSocialData::defaultData()->setShareImage(picture());
    const std::string sharePath = knownSharePath();
    services->holdReplies("POST", sharePath);
    int barUpdates = 0;
    auto observer = platform::NotificationCenter::defaultCenter().addObserver(
        "UpdateSocialBar", [&barUpdates](const platform::Notification&) { ++barUpdates; });
    std::weak_ptr<SHShareEditViewController> gone;
    {
        auto edit = open();
        ASSERT_TRUE(edit);
        gone = edit;
        auto navigation = edit->navigationController();
        edit->textView()->setText("开放日");
        edit->pressSend();
        ASSERT_TRUE(held(sharePath));
        scope.advance(1);
        EXPECT_FALSE(navigation->presentingViewController())
            << "the share UI closes before the result";
    }
    EXPECT_TRUE(gone.expired()) << "nothing keeps the closed screen for its result";
    auto share = lastOf(kShareAction);
    ASSERT_TRUE(share);
    EXPECT_EQ(field(*share, "ct"), "开放日");
    ASSERT_EQ(share->files.size(), 1u);
    EXPECT_EQ(share->files[0].name, "pic");
    EXPECT_TRUE(sharetest::toastsOnScreen().empty());

    services->releaseHeld(sharePath);
    ASSERT_TRUE(driver.runUntil([] { return !sharetest::toastsOnScreen().empty(); }));
    EXPECT_EQ(sharetest::toastsOnScreen(), std::vector<std::string>{"发送成功"});
    EXPECT_EQ(barUpdates, 1);
    platform::NotificationCenter::defaultCenter().removeObserver(observer);
}

TEST_F(ShareEditPanelTest, DeletedPictureDoesNotGoWithTheShare) {
    startShareService();
    SHSocialData::defaultData()->setShareImage(picture());
    auto edit = open();
    ASSERT_TRUE(edit);
    edit->textView()->setText("只要文字");
    edit->deleteAttachment();
    edit->pressSend();
    ASSERT_TRUE(driver.runUntil([&] { return requestsOf(kShareAction) == 1; }));
    EXPECT_TRUE(lastOf(kShareAction)->files.empty());
}

TEST_F(ShareEditPanelTest, SynchronousShareStaysOpenWithABarThatStopsAt099) {
    startShareService();
    SHSocialConfigInternal::shareInstance().shouldShareSynchronous = true;
    const std::string sharePath = knownSharePath();
    services->holdReplies("POST", sharePath);
    auto edit = open();
    ASSERT_TRUE(edit);
    edit->textView()->setText("同步分享");
    edit->pressSend();
    EXPECT_EQ(edit->navigationItem().titleView(), edit->progressView());
    ASSERT_TRUE(held(sharePath));
    scope.advance(1.0);
    EXPECT_NEAR(edit->progressView()->progress(), 1.0f * 10 / 33, 1e-4);
    scope.advance(1.95);
    EXPECT_LT(edit->progressView()->progress(), 0.99f);
    scope.advance(0.05);
    EXPECT_FLOAT_EQ(edit->progressView()->progress(), 0.99f);
    scope.advance(5);
    EXPECT_FLOAT_EQ(edit->progressView()->progress(), 0.99f);
    EXPECT_TRUE(edit->navigationController()->presentingViewController()) << "still open";
    services->releaseHeld(sharePath);
    ASSERT_TRUE(driver.runUntil([] { return !sharetest::toastsOnScreen().empty(); }));
    EXPECT_TRUE(edit->navigationController()->presentingViewController())
        << "open after the result too, until the user closes it";
}

TEST_F(ShareEditPanelTest, ResultBeforeThreeSecondsStopsTheBar) {
    startShareService();
    SHSocialConfigInternal::shareInstance().shouldShareSynchronous = true;
    auto edit = open();
    ASSERT_TRUE(edit);
    edit->textView()->setText("快");
    edit->pressSend();
    ASSERT_TRUE(driver.runUntil([] { return !sharetest::toastsOnScreen().empty(); }));
    const float reached = edit->progressView()->progress();
    scope.advance(5);
    EXPECT_EQ(edit->progressView()->progress(), reached);
}

// --- Following --------------------------------------------------------------------------------

TEST_F(ShareEditPanelTest, FollowOfferIsSentWithTheShareAndNotMadeAgainOnceTaken) {
    startShareService();
    SHSocialConfigInternal::shareInstance().followSnsUids = {{"qzone", {"lanxi-official"}}};
    auto edit = open();
    ASSERT_TRUE(edit);
    ASSERT_FALSE(edit->followButton()->isHidden());
    EXPECT_EQ(edit->followButton()->tag(), SHShareEditViewController::kFollowOn);
    EXPECT_EQ(edit->followLabel()->text(), "关注官方微博");
    ASSERT_TRUE(driver.tap("shareFollow"));
    EXPECT_EQ(edit->followButton()->tag(), SHShareEditViewController::kFollowOff);
    ASSERT_TRUE(driver.tap("shareFollow"));
    EXPECT_EQ(edit->followButton()->tag(), SHShareEditViewController::kFollowOn);

    edit->textView()->setText("关注");
    edit->pressSend();
    ASSERT_TRUE(driver.runUntil(
        [] { return platform::UserDefaults::standard().boolForKey("SHSocial_Follow_qzone"); }));
    auto follow = lastOf(kFollowAction);
    ASSERT_TRUE(follow);
    EXPECT_EQ(field(*follow, "fusid"), "lanxi-official");
    ASSERT_TRUE(driver.runUntil([&] { return requestsOf(kShareAction) == 1; }));

    auto again = open();
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->followButton()->isHidden());
    EXPECT_TRUE(again->followLabel()->isHidden());
}

TEST_F(ShareEditPanelTest, FollowSwitchedOffOrRefusedLeavesTheOfferStanding) {
    startShareService();
    SHSocialConfigInternal::shareInstance().followSnsUids = {{"qzone", {"lanxi-official"}}};
    auto off = open();
    ASSERT_TRUE(off);
    off->addFollow();
    off->textView()->setText("不关注");
    off->pressSend();
    ASSERT_TRUE(driver.runUntil([&] { return requestsOf(kShareAction) == 1; }));
    EXPECT_EQ(requestsOf(kFollowAction), 0u);

    services->setReply("POST", kFollowPath, fakes::Reply{500, "text/plain", "busy"});
    auto refused = open();
    ASSERT_TRUE(refused);
    refused->textView()->setText("关注失败");
    refused->pressSend();
    ASSERT_TRUE(driver.runUntil([&] { return requestsOf(kShareAction) == 2; }));
    EXPECT_TRUE(driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }));
    platform::RunLoop::main().runPending();
    EXPECT_EQ(services->requestsTo(kFollowPath).size(), 1u);
    EXPECT_FALSE(platform::UserDefaults::standard().objectForKey("SHSocial_Follow_qzone"))
        << "a follow the service did not take is offered again";
    auto next = open();
    ASSERT_TRUE(next);
    EXPECT_FALSE(next->followButton()->isHidden());
}

// --- The account panel ------------------------------------------------------------------------

TEST_F(ShareEditPanelTest, AccountPanelShowsTheAccountInTheKeyboardsPlace) {
    startShareService();
    services->setReply("GET", "/avatars/9001.png",
                       fakes::Reply{200, "image/png", fakes::generatedPng(57, 57, 9)});
    signIn("u-9001", "林同学", services->baseUrl() + "/avatars/9001.png");
    auto edit = open();
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->snsNameLabel()->text(), "林同学");
    ASSERT_TRUE(picturesArrive([&] { return edit->profileImageView()->status() == 1; }));
    EXPECT_FALSE(edit->profileImageView()->isHidden());

    // Under the keyboard the panel cannot be seen; the account button lowers the keyboard.
    ASSERT_TRUE(platform::Keyboard::isVisible());
    EXPECT_EQ(driver.outline().find("林同学"), std::string::npos) << driver.outline();
    EXPECT_TRUE(edit->changeAccountBackgroundView()->isHidden());
    ASSERT_TRUE(driver.tap("shareAccount"));
    EXPECT_FALSE(platform::Keyboard::isVisible());
    EXPECT_FALSE(edit->changeAccountBackgroundView()->isHidden());
    EXPECT_NE(driver.outline().find("shareUserName  label \"林同学\""), std::string::npos)
        << driver.outline();
    EXPECT_NE(driver.outline().find("切换账号"), std::string::npos);
    ASSERT_TRUE(driver.tap("shareAccount"));
    EXPECT_TRUE(platform::Keyboard::isVisible());
    EXPECT_TRUE(edit->changeAccountBackgroundView()->isHidden());
}

TEST_F(ShareEditPanelTest, AccountWithoutANameIsAskedOfTheService) {
    startShareService();
    signIn("qz-550121", std::nullopt);
    auto edit = open();
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->snsNameLabel()->text(), "");
    ASSERT_TRUE(namedAfterSignIn(*edit, "兰溪同学")) << edit->snsNameLabel()->text() << "\n"
                                                     << driver.outline();
    EXPECT_EQ(requestsOf(10), 1u);
}

// --- Layout over the keyboard -------------------------------------------------------------------

TEST(ShareEditLayout, ToolBarTextAndPanelShareTheScreenWithTheKeyboardAtEachWidth) {
    for (double width : {320.0, 375.0, 414.0}) {
        SCOPED_TRACE(width);
        sharetest::resetShareSdk();
        platform::testing::UiTestScope scope(platform::Size{width, 667});
        auto service = std::make_shared<SHSocialControllerService>(SHSocialData::defaultData());
        service->currentSnsPlatformName = "qzone";
        auto edit = std::make_shared<SHShareEditViewController>(service);
        auto navigation = std::make_shared<platform::NavigationController>(edit);
        auto window = platform::View::make<platform::Window>();
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        ASSERT_TRUE(platform::Keyboard::isVisible());
        const auto view = edit->view()->bounds();
        const double keyboard = platform::Keyboard::kHeight;
        EXPECT_EQ(edit->keyboardHeight(), keyboard);
        EXPECT_EQ(edit->toolBarView()->frame().maxY(), view.height() - keyboard);
        EXPECT_EQ(edit->toolBarView()->frame().width(), width);
        EXPECT_EQ(edit->textView()->frame().height(), view.height() - keyboard - 44);
        EXPECT_EQ(edit->countLabel()->frame().minX(), width - 40);
        const auto panel = edit->changeAccountBackgroundView()->frame();
        EXPECT_EQ(panel.minY(), view.height() - keyboard);
        EXPECT_EQ(panel.height(), keyboard);
        EXPECT_EQ(panel.width(), width);
        EXPECT_EQ(edit->changeAccountView()->frame().height(), keyboard - 30);
        EXPECT_EQ(edit->changeAccountView()->center().x, width / 2);
        auto left = edit->changeAccountBackgroundView()->viewWithTag(101);
        auto right = edit->changeAccountBackgroundView()->viewWithTag(102);
        ASSERT_TRUE(left && right);
        EXPECT_EQ(left->center().x, width / 4);
        EXPECT_EQ(right->center().x, width * 3 / 4 + 1);
        window->setRootViewController(nullptr);
    }
    sharetest::resetShareSdk();
}

TEST(ShareEditLayout, LandscapeKeyboardHeightFollowsTheSystemVersion) {
    const platform::Rect application{{0, 20}, {375, 647}};
    const platform::Rect keyboard{{0, 0}, {162, 667}};  // portrait coordinates before 8
    auto old =
        SHShareEditLayout::keyboardLayout(application, {667, 375}, keyboard, true, 7.1, 500, 267);
    EXPECT_EQ(old.keyboardHeight, 162);
    EXPECT_EQ(old.toolBarSize.width, 647);
    auto modern = SHShareEditLayout::keyboardLayout(
        application, {667, 375}, platform::Rect{{0, 213}, {667, 162}}, true, 9.3, 500, 267);
    EXPECT_EQ(modern.keyboardHeight, 162);
    EXPECT_EQ(modern.toolBarSize.width, 385);
    EXPECT_EQ(modern.textViewFrame.height(), 375 - 162 - 44);
}

TEST(ShareEditText, URLDecodedStringRemovesEveryEscape) {
    EXPECT_EQ(SHShareEditViewController::URLDecodedString("%E6%A0%A1%20a%2Fb+c"), "校 a/b+c");
}

}  // namespace

namespace {

TEST_F(ShareEditPanelTest, SwitchingAccountSignsInOnTheEditScreensOwnNavigation) {
    startShareService();
    SHSUserManager::shareInstance().setAtFriendsArray({std::make_shared<SHSFriendEntity>()},
                                                      "qzone");
    auto edit = open();
    ASSERT_TRUE(edit);
    auto navigation = edit->navigationController();
    service->nextViewController = 3;
    ASSERT_TRUE(driver.tap("shareAccount"));
    ASSERT_TRUE(driver.tap("shareSwitchAccount")) << driver.outline();
    scope.advance(1);
    EXPECT_EQ(service->nextViewController, -1) << "no screen follows the sign-in";
    ASSERT_EQ(navigation->viewControllers().size(), 2u);
    auto page = std::dynamic_pointer_cast<SHSOauthViewController>(navigation->topViewController());
    ASSERT_TRUE(page) << "the sign-in page itself, not a navigation inside the navigation";

    ASSERT_TRUE(driver.runUntil([&] {
        return page->webView() && !page->webView()->isBusy() && page->webView()->hasPage();
    }));
    ASSERT_TRUE(driver.tap("授权并登录")) << driver.outline();
    ASSERT_TRUE(namedAfterSignIn(*edit, "兰溪同学")) << edit->snsNameLabel()->text() << "\n"
                                                     << driver.outline();
    EXPECT_FALSE(SHSUserManager::shareInstance().atFriendsDictionaryWithSnsName("qzone"))
        << "the old account's mentions are forgotten";
}

}  // namespace
