#include <gtest/gtest.h>

#include <algorithm>

#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialIconSheetView.h"
#include "SocialSDK/service/SHSocialImageLoader.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialSnsService.h"
#include "SocialSDK/service/SHSocialUIHelper.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

namespace sharetest {
namespace {

using Names = std::vector<std::string>;

// A host screen in a key window of the test's screen size, on the manual clock.
class ShareSheetTest : public ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        platform::Screen::main().setSize({320, 480});
        loop().useManualClock();
        host = std::make_shared<platform::ViewController>();
        window = std::make_shared<platform::Window>(platform::Screen::main().bounds());
        window->setRootViewController(host);
        window->makeKeyAndVisible();
    }
    void TearDown() override {
        window.reset();
        host.reset();
        loop().reset();
        loop().useRealClock();
        platform::Screen::main().reset();
        ShareSdkTest::TearDown();
    }
    static platform::RunLoop& loop() { return platform::RunLoop::main(); }
    void settle(double seconds = 1) {
        loop().runPending();
        loop().advance(platform::seconds(seconds));
        loop().runPending();
    }
    // The host's list of names; none for a host that leaves the list out.
    std::shared_ptr<SHSocialIconSheetView> showSheet(
        const std::optional<std::vector<std::string>>& names) {
        SHSocialSnsService::presentSnsIconSheetView(host, std::string(kAppKey), std::nullopt, {},
                                                    names, delegate);
        return SHSocialIconSheetView::lastShown();
    }
    std::shared_ptr<platform::View> scrollSubview(SHSocialIconSheetView& sheet, int tag) {
        for (const auto& child : sheet.subviews())
            if (auto found = child->viewWithTag(tag))
                return found;
        return nullptr;
    }

    std::shared_ptr<platform::ViewController> host;
    std::shared_ptr<platform::Window> window;
    std::shared_ptr<RecordingUIDelegate> delegate = std::make_shared<RecordingUIDelegate>();
};

TEST_F(ShareSheetTest, TheHostsListGivesOneIconAtTheBottomOfTheScreen) {
    auto sheet = showSheet(Names{"wxtimeline", "wxsession", "qq", "qzone"});
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->snsNames(), std::vector<std::string>{"qzone"});
    EXPECT_EQ(SHSocialSnsPlatformManager::sharedInstance()
                  .getSnsPlatformWithName("qzone")
                  ->platformInternal()
                  ->shareStatus,
              "1");
    auto backdrop = sheet->superview();
    ASSERT_TRUE(backdrop);
    EXPECT_EQ(backdrop->tag(), SHSocialIconSheetView::kBackdropTag);
    EXPECT_EQ(sheet->tag(), SHSocialIconSheetView::kSheetTag);
    settle();
    // One row of 80 at the bottom of a 480-point host; four columns of 80.
    EXPECT_EQ(sheet->frame(), (platform::Rect{{0, 400}, {320, 80}}));
    auto button = scrollSubview(*sheet, 110);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->frame(), (platform::Rect{{0, -8}, {80, 80}}));
    auto caption = std::dynamic_pointer_cast<platform::Label>(scrollSubview(*sheet, 210));
    ASSERT_TRUE(caption);
    EXPECT_FALSE(caption->isHidden());
    EXPECT_EQ(caption->frame().origin, (platform::Point{5, 47}));
    // A rotation or any later layout pass keeps it there.
    sheet->setNeedsLayout();
    sheet->layoutIfNeeded();
    EXPECT_EQ(sheet->frame(), (platform::Rect{{0, 400}, {320, 80}}));
}

TEST_F(ShareSheetTest, FivePlatformsMakeTwoRowsOfFourColumns) {
    auto sheet = showSheet(Names{"tencent", "qzone", "renren", "douban", "facebook"});
    ASSERT_TRUE(sheet);
    ASSERT_EQ(sheet->snsNames().size(), 5u);
    settle();
    EXPECT_EQ(sheet->frame(), (platform::Rect{{0, 320}, {320, 160}}));
    // The fifth icon opens the second row.
    auto fifth = scrollSubview(*sheet, 120);
    ASSERT_TRUE(fifth);
    EXPECT_EQ(fifth->frame(), (platform::Rect{{0, 72}, {80, 80}}));
    auto caption = scrollSubview(*sheet, 220);
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->frame().origin, (platform::Point{5, 127}));
    auto fourth = scrollSubview(*sheet, 113);
    ASSERT_TRUE(fourth);
    EXPECT_EQ(fourth->frame(), (platform::Rect{{240, -8}, {80, 80}}));
}

TEST_F(ShareSheetTest, TheSheetClosesOnceHoweverItIsClosed) {
    auto sheet = showSheet(Names{"qzone"});
    ASSERT_TRUE(sheet);
    auto backdrop = sheet->superview();
    settle();
    // A tap on the icon and the backdrop's own tap both close it: the close is reported once.
    ASSERT_TRUE(sheet->tapPlatform("qzone"));
    EXPECT_TRUE(sheet->isHidden());
    sheet->dismiss();
    settle();
    EXPECT_FALSE(backdrop->superview());
    EXPECT_EQ(delegate->closed, std::vector<int>{SHSViewControllerIconActionSheet});
    EXPECT_FALSE(sheet->tapPlatform("qzone"));
    EXPECT_EQ(SHSocialOpAnalytics::shareInstance().opDictionary().value("3-10", ""), "1");
    EXPECT_FALSE(host->presentedViewController());
}

TEST_F(ShareSheetTest, DismissBeforeShowingDoesNothing) {
    auto service = std::make_shared<SHSocialControllerService>(SHSocialData::defaultData());
    service->setSocialUIDelegate(delegate);
    auto made = service->getSocialIconActionSheetInControllerInternal(host);
    auto sheet = std::dynamic_pointer_cast<SHSocialIconSheetView>(made);
    ASSERT_TRUE(sheet);
    sheet->dismiss();
    settle();
    EXPECT_TRUE(delegate->closed.empty());
    // It still shows and closes normally afterwards.
    sheet->showInView(host->view());
    ASSERT_TRUE(sheet->superview());
    sheet->dismiss();
    settle();
    EXPECT_FALSE(sheet->superview());
    EXPECT_EQ(delegate->closed, std::vector<int>{SHSViewControllerIconActionSheet});
}

TEST_F(ShareSheetTest, AnEmptyListDimsTheScreenAndTheBackdropCloses) {
    auto sheet = showSheet(Names{"wxsession"});
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->snsNames().empty());
    settle();
    EXPECT_EQ(sheet->frame().size.height, 0);
    auto backdrop = sheet->superview();
    ASSERT_TRUE(backdrop);
    EXPECT_FLOAT_EQ(backdrop->backgroundColor().alpha, 0.5f);
    ASSERT_EQ(backdrop->gestureRecognizers().size(), 1u);
    sheet->dismiss();
    settle();
    EXPECT_FALSE(backdrop->superview());
    EXPECT_EQ(delegate->closed, std::vector<int>{SHSViewControllerIconActionSheet});
}

TEST_F(ShareSheetTest, AnEmptyListFromTheHostGivesAnEmptySheetWhileALeftOutOneOffersEveryPlatform) {
    auto sheet = showSheet(std::vector<std::string>{});
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->snsNames().empty());
    sheet->dismiss();
    settle();

    sheet = showSheet(std::nullopt);
    ASSERT_TRUE(sheet);
    const auto& every = sheet->snsNames();
    EXPECT_GT(every.size(), 1u);
    EXPECT_NE(std::find(every.begin(), every.end(), "qzone"), every.end());
    EXPECT_NE(std::find(every.begin(), every.end(), "tencent"), every.end());
}

// --- Controller service ----------------------------------------------------------------------

class ControllerServiceTest : public ShareSheetTest {
protected:
    void SetUp() override {
        ShareSheetTest::SetUp();
        service = std::make_shared<SHSocialControllerService>(SHSocialData::defaultData());
        service->setSocialUIDelegate(delegate);
        auto& screens = SHSocialControllerService::screens();
        screens.shareEdit = [this](SHSocialControllerService&, const std::string&,
                                   const std::optional<std::string>&) {
            return editAnswers ? std::make_shared<platform::ViewController>() : nullptr;
        };
        screens.oauth = [](SHSocialControllerService&, const std::string&,
                           const std::optional<std::string>&) {
            return std::make_shared<platform::ViewController>();
        };
        screens.shareList = [](SHSocialControllerService&) {
            return std::make_shared<platform::NavigationController>(
                std::make_shared<platform::ViewController>());
        };
    }
    void storeAccount(const std::string& platform) {
        auto account = std::make_shared<SHSocialAccountEntity>(platform);
        account->usid = "u-" + platform;
        SHSocialAccountManager::setSnsAccount(account);
    }
    void present(const std::shared_ptr<platform::ViewController>& screen) {
        ASSERT_TRUE(screen);
        host->presentViewController(screen, true);
        settle();
    }

    std::shared_ptr<SHSocialControllerService> service;
    bool editAnswers = true;
};

TEST_F(ControllerServiceTest, CancelOnTheEditScreenReportsTheUserCancelWithThePlatform) {
    storeAccount("qzone");
    auto edit = service->getSocialShareEditControllerInternal("qzone", std::nullopt);
    auto navigation = std::dynamic_pointer_cast<platform::NavigationController>(edit);
    ASSERT_TRUE(navigation);
    present(edit);
    // The user presses the close button the service put on the screen.
    auto screen = navigation->viewControllers().front();
    service->addCloseButton(*screen);
    auto item = screen->navigationItem().leftBarButtonItem();
    ASSERT_TRUE(item);
    auto close = std::dynamic_pointer_cast<platform::Button>(item->customView());
    ASSERT_TRUE(close);
    close->sendActions(platform::ControlEvent::TouchUpInside);
    ASSERT_EQ(delegate->results.size(), 1u);
    const auto& response = *delegate->results[0];
    EXPECT_EQ(response.responseCode, 5052);
    EXPECT_EQ(response.message, "user cancel the operation");
    EXPECT_EQ(response.viewControllerType, SHSViewControllerShareEdit);
    EXPECT_EQ(response.data, (platform::Json{{"qzone", ""}}));
    EXPECT_TRUE(service->currentViewControllerArray().empty());
    EXPECT_EQ(service->currentViewControllerType(), SHSViewControllerShareEdit);
    EXPECT_TRUE(delegate->closed.empty());
    settle();
    EXPECT_EQ(delegate->closed, std::vector<int>{SHSViewControllerShareEdit});
    EXPECT_FALSE(host->presentedViewController());
}

TEST_F(ControllerServiceTest, EveryAcceptedPlatformIsNamed) {
    // Mail is an accepted platform of the edit screen: its cancel names it as well.
    auto edit = service->getSocialShareEditControllerInternal("email", std::nullopt);
    ASSERT_TRUE(edit);
    EXPECT_FALSE(std::dynamic_pointer_cast<platform::NavigationController>(edit));
    EXPECT_EQ(service->currentSnsPlatformName, "email");
    service->closeWithCancelResponse();
    ASSERT_EQ(delegate->results.size(), 1u);
    EXPECT_EQ(delegate->results[0]->data, (platform::Json{{"email", ""}}));
}

TEST_F(ControllerServiceTest, EditWithoutATokenOpensTheSignInPageFirst) {
    auto screen = service->getSocialShareEditControllerInternal("qzone", std::nullopt);
    ASSERT_TRUE(std::dynamic_pointer_cast<platform::NavigationController>(screen));
    EXPECT_EQ(service->nextViewController, SHSViewControllerShareEdit);
    EXPECT_EQ(service->currentSnsPlatformName, "qzone");
    EXPECT_EQ(service->currentViewControllerArray(), std::vector<int>{3});
    // An edit screen for an unaccepted platform is refused and leaves no trace.
    EXPECT_FALSE(service->getSocialShareEditControllerInternal("twitter", std::nullopt));
    EXPECT_EQ(service->currentViewControllerArray(), std::vector<int>{3});
}

TEST_F(ControllerServiceTest, ABuilderWithoutAScreenRollsBackTheStack) {
    present(service->getSocialShareListControllerInternal());
    storeAccount("tencent");
    editAnswers = false;
    EXPECT_FALSE(service->getSocialShareEditControllerInternal("tencent", std::nullopt));
    EXPECT_EQ(service->currentViewControllerArray(), std::vector<int>{2});
    EXPECT_EQ(service->currentViewControllerType(), SHSViewControllerShareList);
    // Closing the list is reported as the list: no cancel response.
    service->closeWithCancelResponse();
    settle();
    EXPECT_TRUE(delegate->results.empty());
    EXPECT_EQ(delegate->closed, std::vector<int>{SHSViewControllerShareList});
}

TEST_F(ControllerServiceTest, TheStackOfListAndSignInPageClosesAsTheList) {
    present(service->getSocialShareListControllerInternal());
    auto list = host->presentedViewController();
    auto oauth = service->getSocialOauthControllerInternal("qzone", std::string("4"));
    ASSERT_TRUE(oauth);
    list->presentViewController(oauth, true);
    settle();
    EXPECT_EQ(service->currentViewControllerArray(), (std::vector<int>{2, 7}));
    service->closeWithCancelResponse();
    // The sign-in page nobody finished is reported cancelled ...
    ASSERT_EQ(delegate->results.size(), 1u);
    EXPECT_EQ(delegate->results[0]->viewControllerType, SHSViewControllerOauth);
    // ... and the close that follows the animation carries the list.
    EXPECT_EQ(service->currentViewControllerType(), SHSViewControllerShareList);
    settle();
    EXPECT_EQ(delegate->closed, std::vector<int>{SHSViewControllerShareList});
}

TEST_F(ControllerServiceTest, WithoutAScreenOfItsOwnTheServiceDismissesNothing) {
    // The host's own modal screen stays when the service has no navigation controller open.
    auto modal = std::make_shared<platform::ViewController>();
    present(modal);
    service->setCurrentViewControllerType(SHSViewControllerShareList);
    service->close();
    settle();
    EXPECT_EQ(host->presentedViewController(), modal);
    EXPECT_TRUE(delegate->closed.empty());
}

TEST_F(ControllerServiceTest, TheSdkBarKeepsAndRestoresTheHostsTranslucency) {
    auto bar = std::make_shared<platform::NavigationBar>();
    bar->setTranslucent(true);
    SHSocialUIHelper::setTranslucent(bar);
    EXPECT_FALSE(bar->isTranslucent());
    EXPECT_TRUE(SHSocialUIHelper::shareInstance().isTranslucent);
    SHSocialUIHelper::setNavigationBarTranslucent(bar);
    EXPECT_TRUE(bar->isTranslucent());
    SHSocialUIHelper::shareInstance().isSetTranslucent = true;
    bar->setTranslucent(false);
    SHSocialUIHelper::setTranslucent(bar);
    EXPECT_TRUE(SHSocialUIHelper::shareInstance().isTranslucent);

    SHMaskView mask(platform::Rect{{0, 0}, {200, 100}});
    mask.setIsActivity(false);
    mask.setIsActivity(true);
    EXPECT_DOUBLE_EQ(mask.alpha(), 0.7);
    EXPECT_FALSE(mask.isHidden());
    EXPECT_TRUE(mask.isActivity());
}

// --- Image loader ----------------------------------------------------------------------------

class ImageLoaderTest : public ShareSheetTest {
protected:
    void SetUp() override {
        ShareSheetTest::SetUp();
        startShareService();
    }
    bool waitUntil(const std::function<bool()>& done) {
        return loop().runUntil([&] {
            loop().advance(platform::seconds(0.02));
            return done();
        });
    }
};

TEST_F(ImageLoaderTest, TwoViewsShareOneDownloadAndALaterViewIsServedFromTheCache) {
    const std::string path = "/upload/avatars/friend-1.png";
    const std::string url = services->baseUrl() + path;
    services->holdReplies("GET", path);
    auto first = std::make_shared<SHSocialImageView>(platform::Image{});
    auto second = std::make_shared<SHSocialImageView>(platform::Image{});
    first->setImageURL(url);
    second->setImageURL(url);
    EXPECT_FALSE(first->isCacheImage());
    ASSERT_TRUE(waitUntil([&] { return services->waitForHeld(path, 1, std::chrono::seconds(0)); }));
    EXPECT_TRUE(SHSocialImageLoader::sharedImageLoader()->isLoadingImageURL(url));
    ASSERT_TRUE(services->releaseHeld(path));
    ASSERT_TRUE(waitUntil([&] { return first->status() == 1 && second->status() == 1; }));
    EXPECT_EQ(services->requestsTo(path).size(), 1u);
    EXPECT_FALSE(first->image().isNull());
    EXPECT_FALSE(second->isHidden());
    EXPECT_FALSE(SHSocialImageLoader::sharedImageLoader()->isLoadingImageURL(url));

    auto later = std::make_shared<SHSocialImageView>(platform::Image{});
    later->setImageURL(url);
    EXPECT_TRUE(later->isCacheImage());
    EXPECT_FALSE(later->image().isNull());
    settle();
    EXPECT_EQ(services->requestsTo(path).size(), 1u);
}

TEST_F(ImageLoaderTest, APageInsteadOfAPictureFailsWith406) {
    const std::string path = "/share/not-a-picture.png";
    services->setReply("GET", path, fakes::Reply{200, "text/html", "<html></html>", {}});
    class FailureDelegate : public SHImageViewDelegate {
    public:
        void imageViewFailedToLoadImage(SHSocialImageView&,
                                        const SHSocialImageError& error) override {
            code = error.code;
        }
        int code = 0;
    };
    auto failures = std::make_shared<FailureDelegate>();
    auto view = std::make_shared<SHSocialImageView>(platform::Image{}, failures);
    view->setImageURL(services->baseUrl() + path);
    ASSERT_TRUE(waitUntil([&] { return view->status() == 2; }));
    EXPECT_EQ(failures->code, 406);
    EXPECT_FALSE(
        SHSocialImageLoader::sharedImageLoader()->hasLoadedImageURL(services->baseUrl() + path));
}

TEST(ImageLoadProgress, IsZeroWithoutALengthAndNeverAboveOne) {
    EXPECT_EQ(SHSocialImageLoadConnection::fractionReceived(500, std::nullopt), 0.0f);
    EXPECT_EQ(SHSocialImageLoadConnection::fractionReceived(500, 0), 0.0f);
    EXPECT_EQ(SHSocialImageLoadConnection::fractionReceived(50, 200), 0.25f);
    EXPECT_EQ(SHSocialImageLoadConnection::fractionReceived(900, 200), 1.0f);
    SHSocialImageLoader loader;
    loader.setCacheSeconds(0);
    EXPECT_EQ(loader.cacheSeconds(), 604800);
}

}  // namespace
}  // namespace sharetest
