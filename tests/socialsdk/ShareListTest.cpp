// The share list: which platforms it shows, what a row tap does, and how it closes, driven as a
// user drives it in a window, against the fake share service on 127.0.0.1.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/screens/SHSOauthViewController.h"
#include "SocialSDK/screens/SHSShareListController.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/screens/SHSocialScreens.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialOpAnalytics.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "SocialSDK/service/SHSocialSnsService.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

namespace sharetest {
namespace {

using Names = std::vector<std::string>;

// Claims every platform's client application is installed.
class InstalledClients : public SHSocialSnsHandlerDelegate {
public:
    bool isClientInstall(const std::string&) override { return true; }
};

// A host screen in a key window on the manual clock, the SDK's screens installed and its
// share service the fake one.
class ShareListTest : public ShareHostTest {
protected:
    // The entry API's road: the list presented on the host with the host's names, if any.
    std::shared_ptr<SHSShareListController> presentList(
        const SHSocialSnsService::PlatformNames& names = std::nullopt) {
        SHSocialSnsService::presentSnsController(host, std::nullopt, std::string("开放日来校园"),
                                                 {}, names, delegate);
        settle();
        auto navigation = presentedNavigation();
        if (!navigation)
            return nullptr;
        return std::dynamic_pointer_cast<SHSShareListController>(navigation->topViewController());
    }

    // The rows as they show: each cell's text.
    static Names rows(SHSShareListController& list) {
        Names texts;
        for (const auto& cell : list.tableView()->visibleCells())
            texts.push_back(cell->textLabel()->text());
        return texts;
    }

    std::shared_ptr<RecordingUIDelegate> delegate = std::make_shared<RecordingUIDelegate>();
};

// --- Which platforms are rows ------------------------------------------------------------------

TEST_F(ShareListTest, DefaultConfigurationListsTheRegisteredPlatformsInItsOrder) {
    auto list = presentList();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->title(), "分享至");
    // "sina" comes first in the configuration but is not registered here.
    EXPECT_EQ(rows(*list), (Names{"腾讯微博", "QQ空间", "人人网", "豆瓣", "邮件", "短信",
                                  "Facebook", "Twitter"}));
    EXPECT_EQ(list->allSnsArray(), (Names{"tencent", "qzone", "renren", "douban", "email", "sms",
                                          "facebook", "twitter"}));
    for (const auto& cell : list->tableView()->visibleCells()) {
        SCOPED_TRACE(cell->textLabel()->text());
        EXPECT_EQ(cell->frame().size.height, SHSShareListController::kRowHeight);
        EXPECT_EQ(cell->imageView()->image().size(), (platform::Size{25, 25}));
    }
}

TEST_F(ShareListTest, HostNamesAndConfiguredListsAreNarrowedToSingleRegisteredNames) {
    auto list = presentList(Names{"wxsession", "douban", "qq", "qzone"});
    ASSERT_TRUE(list);
    EXPECT_EQ(rows(*list), (Names{"豆瓣", "QQ空间"}));

    // An entry of the configuration that is a list of names is not a name: not a row.
    list->setAllSnsArray(std::vector<Names>{{"renren"}, {"qzone", "douban"}, {}, {"sina"}});
    EXPECT_EQ(list->allSnsArray(), Names{"renren"});
}

TEST_F(ShareListTest, AnEmptyListFromTheHostGivesNoRowsWhileALeftOutOneGivesEveryPlatform) {
    auto list = presentList(Names{});
    ASSERT_TRUE(list);
    EXPECT_TRUE(rows(*list).empty());
    EXPECT_TRUE(list->allSnsArray().empty());
    host->dismissViewController(false);
    settle();

    list = presentList(std::nullopt);
    ASSERT_TRUE(list);
    EXPECT_EQ(rows(*list).size(), 8u);
}

TEST_F(ShareListTest, HiddenPlatformStaysOutEvenWithItsClientInstalled) {
    auto tencent = SHSocialSnsPlatformManager::getSocialPlatformWithName("tencent");
    ASSERT_TRUE(tencent);
    tencent->platformInternal()->socialLoginDelegate = std::make_shared<InstalledClients>();
    SHSocialConfig::hiddenNotInstallPlatforms(Names{"tencent", "douban"});
    auto list = presentList();
    ASSERT_TRUE(list);
    EXPECT_EQ(rows(*list), (Names{"QQ空间", "人人网", "邮件", "短信", "Facebook", "Twitter"}));
}

TEST_F(ShareListTest, AListReplacedWhileShownShowsAtOnceAndItsRowsAreTheNewNames) {
    auto list = presentList();
    ASSERT_TRUE(list);
    list->setAllSnsArray(Names{"douban"});
    EXPECT_EQ(rows(*list), Names{"豆瓣"});
    // The one row left is the new name: a tap opens douban's sign-in, not tencent's.
    ASSERT_TRUE(driver.tap("豆瓣")) << driver.outline();
    settle();
    auto service = SHSocialControllerService::defaultControllerService();
    EXPECT_EQ(service->currentSnsPlatformName, "douban");
}

TEST(ShareListIcon, IsRedrawnAtTheAskedSizeAndAMissingPictureGivesAnEmptyIconNotAFault) {
    const auto picture =
        platform::Image::named("SHSocialSDKResourcesNew.bundle/SnsPlatform/SHS_qzone_icon");
    ASSERT_FALSE(picture.isNull());
    const auto icon = SHSShareListController::changeImage(picture, {25, 25});
    EXPECT_EQ(icon.size(), (platform::Size{25, 25}));
    // The rounded square of the artwork fills the middle.
    EXPECT_NE(icon.pixelAt(12, 12) >> 24, 0u);
    const auto blank = SHSShareListController::changeImage(platform::Image(), {25, 25});
    EXPECT_EQ(blank.size(), (platform::Size{25, 25}));
    EXPECT_EQ(blank.pixelAt(12, 12) >> 24, 0u);
}

// --- What a row tap does ------------------------------------------------------------------------

TEST_F(ShareListTest, TapWithoutATokenPushesTheBareSignInPageOntoTheList) {
    auto list = presentList();
    ASSERT_TRUE(list);
    auto navigation = list->navigationController();
    ASSERT_TRUE(driver.tap("腾讯微博")) << driver.outline();
    settle();
    // Not presented: pushed, and as the page itself, not inside a navigation controller.
    EXPECT_FALSE(list->presentedViewController());
    ASSERT_EQ(navigation->viewControllers().size(), 2u);
    EXPECT_TRUE(std::dynamic_pointer_cast<SHSOauthViewController>(navigation->topViewController()));
    EXPECT_FALSE(list->tableView()->indexPathForSelectedRow());
    auto service = SHSocialControllerService::defaultControllerService();
    EXPECT_EQ(service->currentSnsPlatformName, "tencent");
    // The list is still the screen the service opened, and the sign-in is counted once.
    EXPECT_EQ(service->currentViewControllerArray(), std::vector<int>{SHSViewControllerShareList});
    EXPECT_EQ(SHSocialOpAnalytics::shareInstance().opDictionary().value("4+7-11", ""), "1");
}

TEST_F(ShareListTest, TapWithAValidTokenPushesTheEditScreenAndANonDirectDelegateChangesNothing) {
    signIn("renren");
    auto list = presentList();
    ASSERT_TRUE(list);
    auto navigation = list->navigationController();
    ASSERT_TRUE(driver.tap("人人网")) << driver.outline();
    settle();
    ASSERT_EQ(navigation->viewControllers().size(), 2u);
    EXPECT_TRUE(
        std::dynamic_pointer_cast<SHShareEditViewController>(navigation->topViewController()));
    for (const auto& request : services->shareRequests())
        EXPECT_NE(request.action, 5) << "nothing is shared before the user writes it";
    EXPECT_TRUE(delegate->results.empty());
}

TEST_F(ShareListTest, DirectShareSendsTheSubjectsTextAndHandsTheResultToTheHost) {
    signIn("tencent");
    delegate->directShare = true;
    auto list = presentList();
    ASSERT_TRUE(list);
    auto navigation = list->navigationController();
    ASSERT_TRUE(driver.tap("腾讯微博")) << driver.outline();
    ASSERT_TRUE(driver.runUntil([&] { return !delegate->results.empty(); }));
    EXPECT_EQ(delegate->results.front()->responseCode, 200);
    // No screen opened: the share went straight to the service.
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
    bool sent = false;
    for (const auto& request : services->shareRequests())
        if (request.body.dump().find("开放日来校园") != std::string::npos)
            sent = true;
    EXPECT_TRUE(sent);
}

TEST_F(ShareListTest, DirectShareResultAfterTheHostHasGoneIsDropped) {
    signIn("tencent");
    delegate->directShare = true;
    auto list = presentList();
    ASSERT_TRUE(list);
    const auto before = services->shareRequests().size();
    ASSERT_TRUE(driver.tap("腾讯微博")) << driver.outline();
    // The host's delegate is not kept alive by the share on the wire.
    std::weak_ptr<RecordingUIDelegate> watch = delegate;
    delegate.reset();
    EXPECT_TRUE(watch.expired());
    ASSERT_TRUE(driver.runUntil([&] {
        return services->shareRequests().size() > before &&
               platform::HttpClient::shared().inFlight() == 0;
    }));
    settle();
}

// --- Closing ------------------------------------------------------------------------------------

TEST_F(ShareListTest, CloseButtonDismissesTheListWithoutACancelResponse) {
    auto list = presentList();
    ASSERT_TRUE(list);
    ASSERT_TRUE(driver.tap("share-close")) << driver.outline();
    EXPECT_TRUE(delegate->results.empty());
    settle();
    EXPECT_FALSE(host->presentedViewController());
    EXPECT_EQ(delegate->closed, std::vector<int>{SHSViewControllerShareList});
    EXPECT_TRUE(SHSocialControllerService::defaultControllerService()
                    ->currentViewControllerArray()
                    .empty());
}

}  // namespace
}  // namespace sharetest
