// The share roads that cross screens, driven as a user drives them in a window against the
// fake share service on 127.0.0.1: the sign-in from the share list handing over to the edit
// screen, the direct share from the icon sheet, the screens a host gets by linking the SDK,
// and the sign-in page without an application key.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/screens/SHSOauthViewController.h"
#include "SocialSDK/screens/SHSShareListController.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/screens/SHSocialScreens.h"
#include "SocialSDK/service/SHSDataManagerSet.h"
#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSViewControllerFactory.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialCryptor.h"
#include "SocialSDK/service/SHSocialDataService.h"
#include "SocialSDK/service/SHSocialIconSheetView.h"
#include "SocialSDK/service/SHSocialSnsService.h"
#include "platform/foundation/Log.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"
#include "tests/support/TextCount.h"

namespace sharetest {
namespace {

using testsupport::countOf;

// A host screen in a key window on the manual clock, the SDK's share service the fake one.
class ShareRoadsTest : public ShareHostTest {
protected:
    bool pageShown(const std::shared_ptr<SHSOauthViewController>& page) {
        return driver
            .runUntil([&] {
                // Loaded, and its outline read: what the page shows can be tapped.
                return page->webView() && page->webView()->hasPage() && !page->webView()->isBusy();
            })
            .ok;
    }

    std::shared_ptr<RecordingUIDelegate> delegate = std::make_shared<RecordingUIDelegate>();
};

// --- Sign-in from the list hands over to the edit screen ---------------------------------------

TEST_F(ShareRoadsTest, SigningInFromTheListShowsTheEditScreenUnderOneNavigationBar) {
    SHSocialSnsService::presentSnsController(host, std::nullopt, std::string("开放日来校园"), {},
                                             {}, delegate);
    settle();
    auto navigation = presentedNavigation();
    ASSERT_TRUE(navigation);
    ASSERT_TRUE(driver.tap("腾讯微博")) << driver.outline();
    settle();
    auto page = std::dynamic_pointer_cast<SHSOauthViewController>(navigation->topViewController());
    ASSERT_TRUE(page) << driver.outline();
    ASSERT_TRUE(pageShown(page)) << driver.outline();

    ASSERT_TRUE(driver.tap("授权并登录")) << driver.outline();
    ASSERT_TRUE(driver.runUntil([&] {
        return std::dynamic_pointer_cast<SHShareEditViewController>(
                   navigation->topViewController()) != nullptr;
    })) << driver.outline();
    settle();

    // List, sign-in page, edit screen: one stack, each screen bare, so one bar.
    const auto& stack = navigation->viewControllers();
    ASSERT_EQ(stack.size(), 3u);
    EXPECT_TRUE(std::dynamic_pointer_cast<SHSShareListController>(stack[0]));
    EXPECT_TRUE(std::dynamic_pointer_cast<SHSOauthViewController>(stack[1]));
    for (const auto& screen : stack)
        EXPECT_FALSE(std::dynamic_pointer_cast<platform::NavigationController>(screen));
    const std::string outline = driver.outline();
    EXPECT_EQ(countOf(outline, "navigation bar"), 1) << outline;
    EXPECT_NE(outline.find("分享至腾讯微博"), std::string::npos) << outline;
    EXPECT_EQ(outline.find("授权"), std::string::npos) << outline;
    EXPECT_TRUE(SHSocialAccountManager::isOauthAndTokenNotExpired("tencent"));

    // The edit screen's close button ends the whole road.
    ASSERT_TRUE(driver.tap("share-close")) << driver.outline();
    settle();
    EXPECT_FALSE(host->presentedViewController());
}

// --- Direct share from the icon sheet -----------------------------------------------------------

class SheetRoadTest : public ShareRoadsTest {
protected:
    std::shared_ptr<SHSocialIconSheetView> showSheet() {
        SHSocialSnsService::presentSnsIconSheetView(
            host, std::nullopt, std::string("校园开放日"), {},
            std::vector<std::string>{"tencent", "renren"}, delegate);
        settle();
        return std::dynamic_pointer_cast<SHSocialIconSheetView>(
            SHSocialSnsService::sharedInstance().iconSheet);
    }
};

TEST_F(SheetRoadTest, AHostThatAsksForDirectShareSharesAtOnceFromTheSheet) {
    signIn("tencent");
    delegate->directShare = true;
    ASSERT_TRUE(showSheet());
    const auto before = services->shareRequests().size();
    ASSERT_TRUE(driver.tap("share-tencent")) << driver.outline();
    ASSERT_TRUE(driver.runUntil([&] { return !delegate->results.empty(); }));
    EXPECT_EQ(delegate->results.front()->responseCode, 200);
    // No screen: the text went straight to the service as a share to the one platform.
    EXPECT_FALSE(host->presentedViewController());
    bool sent = false;
    const auto requests = services->shareRequests();
    for (std::size_t i = before; i < requests.size(); ++i)
        if (requests[i].action == 5 &&
            requests[i].body.dump().find("校园开放日") != std::string::npos &&
            requests[i].body.dump().find("tencent") != std::string::npos)
            sent = true;
    EXPECT_TRUE(sent);
}

TEST_F(SheetRoadTest, DirectShareWithoutATokenSignsInFirstOnTheHost) {
    delegate->directShare = true;
    ASSERT_TRUE(showSheet());
    ASSERT_TRUE(driver.tap("share-renren")) << driver.outline();
    settle();
    auto navigation = presentedNavigation();
    ASSERT_TRUE(navigation) << driver.outline();
    EXPECT_TRUE(std::dynamic_pointer_cast<SHSOauthViewController>(navigation->topViewController()));
    ASSERT_TRUE(waitUntilQuiet());
    for (const auto& request : services->shareRequests())
        EXPECT_NE(request.action, 5) << "nothing is shared before the sign-in";
}

TEST_F(SheetRoadTest, AHostThatDoesNotAskOpensTheEditScreen) {
    signIn("tencent");
    ASSERT_TRUE(showSheet());
    ASSERT_TRUE(driver.tap("share-tencent")) << driver.outline();
    settle();
    auto navigation = presentedNavigation();
    ASSERT_TRUE(navigation) << driver.outline();
    EXPECT_TRUE(
        std::dynamic_pointer_cast<SHShareEditViewController>(navigation->topViewController()));
    ASSERT_TRUE(waitUntilQuiet());
    for (const auto& request : services->shareRequests()) EXPECT_NE(request.action, 5);
}

// --- Screens without a registration call --------------------------------------------------------

TEST_F(ShareRoadsTest, AProgramThatLinksTheSdkHasItsScreensWithoutInstallingThem) {
    // As a fresh process finds it: the factory of a program linking the SDK knows every screen.
    SHSViewControllerFactory::resetSharedInstance();
    const auto& screens = SHSocialControllerService::screens();
    EXPECT_TRUE(screens.shareList);
    EXPECT_TRUE(screens.shareEdit);
    EXPECT_TRUE(screens.oauth);
    EXPECT_TRUE(screens.friendList);

    SHSocialSnsService::presentSnsController(host, std::nullopt, std::string("校园开放日"), {}, {},
                                             delegate);
    settle();
    auto navigation = presentedNavigation();
    ASSERT_TRUE(navigation);
    EXPECT_TRUE(std::dynamic_pointer_cast<SHSShareListController>(navigation->topViewController()));
}

TEST_F(ShareRoadsTest, FactoryRecordsEveryRequestedTypeAndMakesOnlyItsScreens) {
    SHSViewControllerFactory::resetSharedInstance();
    auto& factory = SHSViewControllerFactory::sharedInstance();
    auto service = SHSocialControllerService::defaultControllerService();
    signIn("qzone");
    service->currentSnsPlatformName = "qzone";
    EXPECT_FALSE(factory.createSocialViewController(5, 0, *service));
    EXPECT_FALSE(factory.createSocialViewController(SHSViewControllerAccount, 0, *service));
    EXPECT_TRUE(std::dynamic_pointer_cast<SHShareEditViewController>(
        factory.createSocialViewController(SHSViewControllerShareEdit, 10, *service)));
    // The list comes in its navigation controller.
    auto list = std::dynamic_pointer_cast<platform::NavigationController>(
        factory.createSocialViewController(SHSViewControllerShareList, 0, *service));
    ASSERT_TRUE(list);
    EXPECT_TRUE(std::dynamic_pointer_cast<SHSShareListController>(list->topViewController()));
    EXPECT_EQ(factory.viewControllerStack,
              (std::vector<int>{5, SHSViewControllerAccount, SHSViewControllerShareEdit,
                                SHSViewControllerShareList}));
    // The account screen does not exist: nothing is wrapped or recorded as open.
    EXPECT_FALSE(service->getSocialAccountControllerInternal());
    EXPECT_TRUE(service->currentViewControllerArray().empty());
}

TEST_F(ShareRoadsTest, ThePublicFormsOpenTheEditScreenAfterSignInAndReadTheAccounts) {
    auto service = SHSocialControllerService::defaultControllerService();
    auto first = std::dynamic_pointer_cast<platform::NavigationController>(
        service->getSocialShareEditController("qzone"));
    ASSERT_TRUE(first);
    EXPECT_TRUE(std::dynamic_pointer_cast<SHSOauthViewController>(first->topViewController()));
    EXPECT_EQ(service->nextViewController, SHSViewControllerShareEdit);
    auto page = std::dynamic_pointer_cast<platform::NavigationController>(
        service->getSocialOauthController("renren"));
    ASSERT_TRUE(page);
    EXPECT_TRUE(std::dynamic_pointer_cast<SHSOauthViewController>(page->topViewController()));
    signIn("qzone");
    EXPECT_EQ(SHSocialDataService::getSHSocialAccount().count("qzone"), 1u);
}

TEST_F(ShareRoadsTest, WithoutScreensTheEntryPointsSayWhyNothingOpens) {
    SHSocialControllerService::screens() = {};
    std::vector<std::string> lines;
    platform::setLogSink([&lines](const std::string& line) { lines.push_back(line); });
    SHSocialSnsService::presentSnsController(host, std::nullopt, std::string("校园开放日"), {}, {},
                                             delegate);
    settle();
    platform::setLogSink(nullptr);
    EXPECT_FALSE(host->presentedViewController());
    bool told = false;
    for (const auto& line : lines)
        if (line.find("share screens are not linked") != std::string::npos)
            told = true;
    EXPECT_TRUE(told);
}

// --- The sign-in page without an application key -------------------------------------------------

TEST_F(ShareRoadsTest, SignInPageWithoutAnAppKeyEndsInItsFailureAlert) {
    SHSDataManagerSet::shareInstance().setAppkey(std::string());
    ASSERT_FALSE(SHSUserManager::shareInstance().uid());
    auto service = SHSocialControllerService::defaultControllerService();
    service->setSocialUIDelegate(delegate);
    auto wrapper = std::dynamic_pointer_cast<platform::NavigationController>(
        service->getSocialOauthControllerInternal("qzone", std::nullopt));
    ASSERT_TRUE(wrapper);
    host->presentViewController(wrapper, false);
    settle();
    auto alert = platform::AlertPresenter::shared().topAlert();
    ASSERT_TRUE(alert) << driver.outline();
    EXPECT_EQ(alert->alertTitle(), "授权失败");
    EXPECT_EQ(alert->alertMessage(), "服务器繁忙，授权失败，请稍后再试");
    ASSERT_TRUE(waitUntilQuiet());
    EXPECT_TRUE(services->shareRequests().empty());
    // Its button closes the page.
    ASSERT_TRUE(driver.pressAlertButton("好")) << driver.outline();
    settle();
    EXPECT_FALSE(host->presentedViewController());
}

}  // namespace
}  // namespace sharetest
