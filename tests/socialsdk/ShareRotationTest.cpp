// The share SDK's screens turned and on a tablet: the settings' orientations and tablet size,
// the sheet's grid in landscape, the SDK's navigation controller, and each screen's rotation
// and tablet branches, at 320, 375 and 414 points.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/screens/SHSOauthViewController.h"
#include "SocialSDK/screens/SHSShareListController.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/screens/SHSocialFriendViewController.h"
#include "SocialSDK/screens/SHSocialScreens.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "SocialSDK/service/SHSocialIconSheetView.h"
#include "SocialSDK/service/SHSocialNavigationController.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialSnsService.h"
#include "platform/testing/ScreenSize.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/FormSheet.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

namespace {

using platform::DeviceOrientation;
using platform::InterfaceOrientation;
using platform::Rect;
using platform::Size;

struct Phone {
    double width;
    double height;
};
constexpr Phone kPhones[] = {{320, 568}, {375, 667}, {414, 736}};

// A host laid out for every orientation the device takes, so that the SDK's own settings are
// what keeps its screens upright or lets them turn.
class TurningHost : public platform::ViewController {
public:
    platform::InterfaceOrientationMask supportedInterfaceOrientations() const override {
        return platform::Application::shared().deviceInterfaceOrientations();
    }
};

class ShareRotationTest : public sharetest::ShareSdkTest {
protected:
    void SetUp() override {
        ShareSdkTest::SetUp();
        SHSocialInstallScreens();
    }
    void TearDown() override {
        closeWindow();
        SHSocialControllerService::screens() = {};
        ShareSdkTest::TearDown();
    }
    // A host screen in a key window of the screen's size.
    std::shared_ptr<platform::ViewController> showHost() {
        host = std::make_shared<TurningHost>();
        window = platform::View::make<platform::Window>();
        window->setRootViewController(host);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
        return host;
    }
    void closeWindow() {
        if (window)
            window->setRootViewController(nullptr);
        window.reset();
        host.reset();
    }
    // The icon sheet of the names, shown over the host the way a host shows it, risen.
    std::shared_ptr<SHSocialIconSheetView> showSheet(const std::vector<std::string>& names) {
        SHSocialSnsService::presentSnsIconSheetView(host, std::string(sharetest::kAppKey),
                                                    std::nullopt, {}, names, {});
        auto sheet = SHSocialIconSheetView::lastShown();
        scope.advance(1);
        return sheet;
    }
    static void turn(DeviceOrientation orientation) {
        platform::Device::current().setOrientation(orientation);
    }
    // The screen the service hands over, presented over the host (as the SDK presents them).
    template <class Screen>
    std::shared_ptr<Screen> present(std::shared_ptr<platform::ViewController> handed) {
        auto navigation = std::dynamic_pointer_cast<platform::NavigationController>(handed);
        if (!navigation)
            return nullptr;
        host->presentViewController(navigation, false);
        return std::dynamic_pointer_cast<Screen>(navigation->topViewController());
    }
    void signIn(const std::string& platformName) {
        auto account = std::make_shared<SHSocialAccountEntity>(platformName);
        account->usid = "u-9001";
        account->accessToken = "token";
        account->userName = "林同学";
        account->expirationDate = std::chrono::system_clock::now() + std::chrono::hours(1);
        SHSocialAccountManager::setSnsAccount(account);
    }

    platform::testing::UiTestScope scope;
    std::shared_ptr<platform::Window> window;
    std::shared_ptr<platform::ViewController> host;
};

// --- Settings ----------------------------------------------------------------------------

TEST_F(ShareRotationTest, TheSettingsTakePortraitOnAPhoneAllFourOnATabletAndLogTheBit) {
    EXPECT_EQ(SHSocialConfigInternal::shareInstance().socialInterfaceOrientations, 2);
    std::vector<std::string> lines;
    SHSocialUtils::setOpenLog(true);
    SHSocialUtils::setLogSink([&](const std::string& line) { lines.push_back(line); });
    const auto& config = SHSocialConfigInternal::shareInstance();
    EXPECT_TRUE(config.shouldAutorotateToInterfaceOrientation(1));
    EXPECT_FALSE(config.shouldAutorotateToInterfaceOrientation(4));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("mask is 2"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("mask is 16"), std::string::npos) << lines[1];
    SHSocialConfig::setSupportedInterfaceOrientations(30);
    EXPECT_TRUE(config.shouldAutorotateToInterfaceOrientation(4));
    EXPECT_FALSE(config.shouldAutorotateToInterfaceOrientation(40));

    // The settings made on a tablet take every orientation.
    platform::Application::shared().setUserInterfaceIdiom(platform::UserInterfaceIdiom::Pad);
    SHSocialConfigInternal::resetSharedInstance();
    EXPECT_EQ(SHSocialConfigInternal::shareInstance().socialInterfaceOrientations, 30);
    SHSocialConfig::setBoundsSizeForiPad(500, 600);
    EXPECT_EQ(SHSocialConfigInternal::shareInstance().boundsForiPad, (Rect{{0, 0}, {500, 600}}));
}

// --- The sheet ----------------------------------------------------------------------------

// Thirteen platforms: four rows of four columns fit a portrait phone's limit (320 + 110) but
// not the landscape one (240 + 110), where the columns grow until the rows fit.
TEST_F(ShareRotationTest, TheSheetsGridFollowsTheLandscapeLimitAtEachPhoneWidth) {
    struct Expected {
        int portraitColumns;
        double portraitTop;
        int landscapeColumns;
        double landscapeTop;
    };
    const Expected expected[] = {{4, 248, 7, 160}, {4, 347, 5, 135}, {4, 416, 5, 174}};
    // The eight built-in platforms the sheet shows (one is hidden) and five of the host's own.
    std::vector<std::shared_ptr<SHSocialSnsPlatform>> added;
    for (const char* name : {"campus-a", "campus-b", "campus-c", "campus-d", "campus-e"})
        added.push_back(std::make_shared<SHSocialSnsPlatform>(name));
    SHSocialConfig::addSocialSnsPlatform(added);
    auto configured = SHSocialConfigInternal::shareInstance().snsPlatformNames;
    for (const auto& platform : added) configured.push_back({platform->platformName});
    SHSocialConfig::setSnsPlatformNames(configured);
    auto names = SHSocialSnsPlatformManager::sharedInstance().allSnsValuesArray();
    ASSERT_EQ(names.size(), 14u);
    for (size_t i = 0; i < std::size(kPhones); ++i) {
        const Phone phone = kPhones[i];
        SCOPED_TRACE(phone.width);
        platform::testing::ScreenSize size(phone.width, phone.height);
        showHost();
        auto sheet = showSheet(names);
        ASSERT_TRUE(sheet);
        ASSERT_EQ(sheet->snsNames().size(), 13u);
        EXPECT_EQ(sheet->frame(), (Rect{{0, expected[i].portraitTop}, {phone.width, 320}}));
        auto first = sheet->subviews().front()->viewWithTag(
            SHSocialSnsPlatformManager::getSnsPlatformType(sheet->snsNames()[1]) + 100);
        ASSERT_TRUE(first);
        const double portraitColumn = phone.width / expected[i].portraitColumns;
        EXPECT_DOUBLE_EQ(first->frame().minX(), portraitColumn + (portraitColumn - 80) / 2);

        turn(DeviceOrientation::LandscapeLeft);
        // The backdrop turns with the screen and the grid is laid out again in the pass.
        EXPECT_EQ(sheet->superview()->frame().size, (Size{phone.height, phone.width}));
        const int cols = expected[i].landscapeColumns;
        const double rows = std::ceil(13.0 / cols);
        EXPECT_EQ(sheet->frame(), (Rect{{0, expected[i].landscapeTop}, {phone.height, rows * 80}}));
        const double column = phone.height / cols;
        EXPECT_DOUBLE_EQ(first->frame().minX(), column + (column - 80) / 2);

        turn(DeviceOrientation::Portrait);
        EXPECT_EQ(sheet->superview()->frame().size, (Size{phone.width, phone.height}));
        EXPECT_EQ(sheet->frame(), (Rect{{0, expected[i].portraitTop}, {phone.width, 320}}));
        sheet->dismiss();
        scope.advance(1);
        closeWindow();
    }
}

TEST_F(ShareRotationTest, ALandscapeSheetClosesBelowTheScreenItShowsOn) {
    platform::testing::ScreenSize size(375, 667);
    showHost();
    turn(DeviceOrientation::LandscapeRight);
    auto sheet = showSheet({"qzone"});
    ASSERT_TRUE(sheet);
    // One icon across the landscape screen's width, at the bottom.
    EXPECT_EQ(sheet->frame(), (Rect{{0, 375 - 80}, {667, 80}}));
    sheet->dismiss();
    // Closing exchanges the screen's sides in landscape whatever the version.
    EXPECT_EQ(sheet->center(), (platform::Point{375 * 0.5, 667 + 40}));
}

TEST_F(ShareRotationTest, BeforeVersion8TheSheetExchangesTheScreensSidesInLandscape) {
    // Before 8 the screen's bounds stayed upright: the steps exchange them, and the base
    // height takes the status bar's width. On the bounds of a later system the exchange puts
    // the sheet back to the upright width.
    platform::Application::shared().setSystemVersion("7.1");
    platform::testing::ScreenSize size(375, 667);
    showHost();
    turn(DeviceOrientation::LandscapeLeft);
    auto sheet = showSheet({"qzone"});
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->frame().size, (Size{375, 80}));
    // Closing exchanges them in landscape whatever the version.
    sheet->dismiss();
    EXPECT_EQ(sheet->center(), (platform::Point{375 * 0.5, 667 + 40}));
}

// --- The SDK's navigation controller and the list --------------------------------------------

TEST_F(ShareRotationTest, TheSdksScreensTurnOnlyAsTheSettingsAllow) {
    platform::testing::ScreenSize size(375, 667);
    showHost();
    auto service = SHSocialControllerService::defaultControllerService();
    auto list = present<SHSShareListController>(service->getSocialShareListControllerInternal());
    ASSERT_TRUE(list);
    auto navigation =
        std::dynamic_pointer_cast<SHSocialNavigationController>(list->navigationController());
    ASSERT_TRUE(navigation) << "the SDK's screens come in its own navigation controller";
    EXPECT_TRUE(navigation->shouldAutorotate());
    EXPECT_EQ(navigation->supportedInterfaceOrientations(), 2u);
    turn(DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(platform::Application::shared().statusBarOrientation(),
              InterfaceOrientation::Portrait);
    // The host allows all four: the list turns, and its bar is styled again afterwards.
    SHSocialConfig::setSupportedInterfaceOrientations(30);
    turn(DeviceOrientation::LandscapeRight);
    EXPECT_EQ(platform::Application::shared().statusBarOrientation(),
              InterfaceOrientation::LandscapeLeft);
    EXPECT_EQ(list->view()->window()->bounds().size, (Size{667, 375}));
    EXPECT_EQ(navigation->navigationBar()->frame().width(), 667);
    EXPECT_TRUE(list->shouldAutorotateToInterfaceOrientation(InterfaceOrientation::Portrait));
    SHSocialConfig::setSupportedInterfaceOrientations(2);
    EXPECT_FALSE(list->shouldAutorotateToInterfaceOrientation(InterfaceOrientation::LandscapeLeft));
}

// --- The edit screen ----------------------------------------------------------------------

TEST_F(ShareRotationTest, TheEditScreenLaysItselfOverTheLandscapeKeyboardAtEachWidth) {
    SHSocialConfig::setSupportedInterfaceOrientations(30);
    signIn("qzone");
    for (const Phone phone : kPhones) {
        SCOPED_TRACE(phone.width);
        platform::testing::ScreenSize size(phone.width, phone.height);
        showHost();
        auto service = SHSocialControllerService::defaultControllerService();
        auto edit = present<SHShareEditViewController>(
            service->getSocialShareEditControllerInternal("qzone", std::nullopt));
        ASSERT_TRUE(edit);
        EXPECT_EQ(edit->layoutName(), SHShareEditViewController::kPhoneLayout);
        ASSERT_TRUE(platform::Keyboard::isVisible());
        const double portraitText = edit->textView()->frame().width();

        // The account panel is up (keyboard down) when the phone turns: the keyboard comes
        // back first and the layout follows it in landscape.
        edit->changeAccount();
        ASSERT_FALSE(platform::Keyboard::isVisible());
        turn(DeviceOrientation::LandscapeLeft);
        ASSERT_TRUE(platform::Keyboard::isVisible());
        const auto view = edit->view()->bounds().size;
        EXPECT_EQ(view.width, phone.height);
        const double keyboard = platform::Keyboard::kLandscapeHeight;
        EXPECT_EQ(edit->keyboardHeight(), keyboard);
        // From version 8 on: the application frame's width plus 10 (the steps' own numbers).
        EXPECT_EQ(edit->toolBarView()->frame().size, (Size{phone.height + 10, 44}));
        EXPECT_EQ(edit->toolBarView()->center().y, view.height - keyboard - 22);
        EXPECT_EQ(edit->countLabel()->frame().minX(), phone.height + 10 - 40);
        EXPECT_EQ(edit->textView()->frame(),
                  (Rect{{0, 0},
                        {portraitText + phone.height - phone.width, view.height - keyboard - 44}}));
        EXPECT_EQ(edit->changeAccountBackgroundView()->frame(),
                  (Rect{{0, view.height - keyboard}, {view.width, keyboard}}));
        EXPECT_EQ(edit->changeAccountView()->frame().height(), keyboard - 30);

        turn(DeviceOrientation::Portrait);
        EXPECT_EQ(edit->keyboardHeight(), platform::Keyboard::kHeight);
        EXPECT_EQ(edit->toolBarView()->frame().size, (Size{phone.width, 44}));
        EXPECT_EQ(edit->textView()->frame().width(), portraitText);
        host->dismissViewController(false);
        closeWindow();
    }
}

TEST_F(ShareRotationTest, UpsideDownTheEditScreenTakesTheKeyboardTheLandscapeWay) {
    SHSocialConfig::setSupportedInterfaceOrientations(30);
    signIn("qzone");
    platform::testing::ScreenSize size(375, 667);
    showHost();
    auto service = SHSocialControllerService::defaultControllerService();
    auto edit = present<SHShareEditViewController>(
        service->getSocialShareEditControllerInternal("qzone", std::nullopt));
    ASSERT_TRUE(edit);
    // The host screen takes no upside-down interface by the phone's default; the SDK's
    // navigation controller on top is asked, and it takes all four.
    turn(DeviceOrientation::PortraitUpsideDown);
    ASSERT_EQ(platform::Application::shared().statusBarOrientation(),
              InterfaceOrientation::PortraitUpsideDown);
    EXPECT_EQ(edit->toolBarView()->frame().size, (Size{375 + 10, 44}));
    EXPECT_EQ(edit->keyboardHeight(), platform::Keyboard::kHeight);
}

// --- The friend picker and the sign-in page -------------------------------------------------

TEST_F(ShareRotationTest, TheFriendPickerAndSignInPageFillTheTurnedView) {
    SHSocialConfig::setSupportedInterfaceOrientations(30);
    for (const Phone phone : kPhones) {
        SCOPED_TRACE(phone.width);
        platform::testing::ScreenSize size(phone.width, phone.height);
        showHost();
        auto service = SHSocialControllerService::defaultControllerService();
        service->currentSnsPlatformName = "tencent";
        auto picker = std::dynamic_pointer_cast<SHSocialFriendViewController>(
            service->getSocialViewController(SHSViewControllerFriend));
        ASSERT_TRUE(picker);
        host->presentViewController(std::make_shared<SHSocialNavigationController>(picker), false);
        turn(DeviceOrientation::LandscapeLeft);
        const auto view = picker->view()->bounds().size;
        EXPECT_EQ(view.width, phone.height);
        EXPECT_EQ(picker->view()->subviews().front()->frame().width(), phone.height);
        EXPECT_TRUE(
            picker->shouldAutorotateToInterfaceOrientation(InterfaceOrientation::LandscapeRight));
        host->dismissViewController(false);
        turn(DeviceOrientation::Portrait);

        service->nextViewController = 3;
        auto page = present<SHSOauthViewController>(
            service->getSocialOauthControllerInternal("qzone", std::nullopt));
        ASSERT_TRUE(page);
        turn(DeviceOrientation::LandscapeRight);
        EXPECT_EQ(page->webView()->frame(), (Rect{{0, 0}, page->view()->bounds().size}));
        EXPECT_EQ(page->webView()->frame().width(), phone.height);
        turn(DeviceOrientation::Portrait);
        EXPECT_EQ(page->webView()->frame().width(), phone.width);
        host->dismissViewController(false);
        closeWindow();
    }
}

// --- The tablet ---------------------------------------------------------------------------

class ShareTabletTest : public ShareRotationTest {
protected:
    void SetUp() override {
        platform::Application::shared().setUserInterfaceIdiom(platform::UserInterfaceIdiom::Pad);
        ShareRotationTest::SetUp();
        platform::testing::useScreen(768, 1024);
        SHSocialConfigInternal::resetSharedInstance();
    }
};

TEST_F(ShareTabletTest, TheListShowsInAFormSheetOfTheConfiguredSize) {
    showHost();
    auto service = SHSocialControllerService::defaultControllerService();
    auto handed = service->getSocialShareListControllerInternal();
    ASSERT_TRUE(handed);
    EXPECT_EQ(handed->modalPresentationStyle(), platform::ModalPresentationStyle::FormSheet);
    EXPECT_EQ(handed->modalTransitionStyle(), platform::ModalTransitionStyle::CoverVertical);
    auto list = present<SHSShareListController>(handed);
    ASSERT_TRUE(list);
    // The sheet holding the list takes 533 x 590; the host stays on screen below.
    auto sheet = handed->view()->superview();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->bounds(), (Rect{{0, 0}, {533, 590}}));
    EXPECT_EQ(handed->view()->frame().size, (Size{533, 590}));
    EXPECT_EQ(host->view()->window(), window);
    // A rectangle without a size is the null one: the list takes 533 x 545 instead.
    host->dismissViewController(false);
    SHSocialConfig::setBoundsSizeForiPad(0, 0);
    present<SHSShareListController>(service->getSocialShareListControllerInternal());
    EXPECT_EQ(host->presentedViewController()->view()->superview()->bounds().size,
              (Size{533, 545}));
}

TEST_F(ShareTabletTest, TheEditScreenTakesTheTabletLayoutWithoutTheAccountPanel) {
    signIn("qzone");
    showHost();
    auto service = SHSocialControllerService::defaultControllerService();
    auto edit = present<SHShareEditViewController>(
        service->getSocialShareEditControllerInternal("qzone", std::nullopt));
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->layoutName(), SHShareEditViewController::kPadLayout);
    const auto view = edit->view()->bounds().size;
    EXPECT_EQ(view.width, 533);
    // The tool bar stays at the sheet's foot whatever the keyboard does.
    EXPECT_EQ(edit->toolBarView()->frame(), (Rect{{0, view.height - 44}, {533, 44}}));
    EXPECT_EQ(edit->textView()->frame().height(), view.height - 44);
    EXPECT_TRUE(edit->changeAccountButton()->isHidden());
    EXPECT_TRUE(edit->changeAccountBackgroundView()->isHidden());
    // The keyboard is up for writing, and the account button does not lower it.
    ASSERT_TRUE(platform::Keyboard::isVisible());
    edit->changeAccount();
    EXPECT_TRUE(platform::Keyboard::isVisible()) << "the account panel is the phone's";
    // Turned, the sheet keeps its size and the screen its layout.
    turn(DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(platform::Application::shared().statusBarOrientation(),
              InterfaceOrientation::LandscapeRight);
    EXPECT_EQ(edit->view()->bounds().size, view);
    EXPECT_EQ(edit->toolBarView()->frame(), (Rect{{0, view.height - 44}, {533, 44}}));
}

TEST_F(ShareTabletTest, TheSignInPageSizesItsSheetWebViewAndCover) {
    showHost();
    auto service = SHSocialControllerService::defaultControllerService();
    service->nextViewController = 3;
    auto page = present<SHSOauthViewController>(
        service->getSocialOauthControllerInternal("qzone", std::nullopt));
    ASSERT_TRUE(page);
    auto sheet = page->navigationController()->view()->superview();
    EXPECT_EQ(sheet->bounds(), (Rect{{0, 0}, {533, 590}}));
    // The web view is 20 points wider than the sheet (then follows the page's view).
    EXPECT_EQ(page->webView()->frame().width(), 533 + 20);
    turn(DeviceOrientation::LandscapeLeft);
    EXPECT_EQ(page->webView()->frame(), (Rect{{0, 0}, {533, 590}}));
    EXPECT_TRUE(SHSOauthViewController::isWideLoginPage("sina", "http://any.example/"));
    EXPECT_FALSE(SHSOauthViewController::isWideLoginPage("qzone", "http://any.example/"));
}

}  // namespace
