// The share SDK's result toasts and its looks: where a toast stands on the key window, how long
// it stays and when it does not show; the two built-in themes on the SDK's screens; and the
// host's hooks on the bars, the list's cells and the sheet's grid.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SocialSDK/screens/SHSShareListController.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/screens/SHSocialScreens.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialIconSheetView.h"
#include "SocialSDK/service/SHSocialSnsService.h"
#include "SocialSDK/service/SHSocialToast.h"
#include "components/hud/ProgressHUD.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/socialsdk/ShareSdkTestSupport.h"

namespace sharetest {
namespace {

const platform::Color kDefaultTitle = platform::Color::rgba(70 / 255.0f, 79 / 255.0f, 97 / 255.0f);

// A host screen in a key window of 320 x 480 on the manual clock, the SDK's screens installed.
class ShareLookTest : public ShareHostTest {
protected:
    // The edit screen for "qzone" with a signed-in account, presented over the host.
    std::shared_ptr<SHShareEditViewController> presentEdit() {
        auto account = std::make_shared<SHSocialAccountEntity>("qzone");
        account->usid = "qz-1";
        account->userName = "林同学";
        SHSocialAccountManager::setSnsAccount(account);
        auto navigation = std::dynamic_pointer_cast<platform::NavigationController>(
            SHSocialControllerService::defaultControllerService()
                ->getSocialShareEditControllerInternal("qzone", std::nullopt));
        if (!navigation)
            return nullptr;
        host->presentViewController(navigation, false);
        scope->advance(0.5);
        return std::dynamic_pointer_cast<SHShareEditViewController>(
            navigation->topViewController());
    }
    std::shared_ptr<SHSShareListController> presentList() {
        SHSocialSnsService::presentSnsController(host, std::nullopt, std::string("开放日"), {}, {},
                                                 std::weak_ptr<SHSocialUIDelegate>());
        scope->advance(1);
        auto navigation = presentedNavigation();
        return navigation ? std::dynamic_pointer_cast<SHSShareListController>(
                                navigation->topViewController())
                          : nullptr;
    }
    static std::shared_ptr<platform::Button> barButton(
        const std::shared_ptr<platform::BarButtonItem>& item) {
        return item ? std::dynamic_pointer_cast<platform::Button>(item->customView()) : nullptr;
    }
    static std::shared_ptr<platform::Label> titleLabel(platform::ViewController& screen) {
        return std::dynamic_pointer_cast<platform::Label>(screen.navigationItem().titleView());
    }
    static std::shared_ptr<platform::components::ProgressHUD> toastOn(platform::View& window) {
        for (const auto& view : window.subviews())
            if (auto hud = std::dynamic_pointer_cast<platform::components::ProgressHUD>(view))
                return hud;
        return nullptr;
    }
};

using ShareToastTest = ShareLookTest;

TEST_F(ShareToastTest, AMessageStandsAtTheTopLetsTouchesThroughAndGoesAfterASecond) {
    int taps = 0;
    auto under = platform::View::make<platform::Button>(platform::Rect{{0, 60}, {320, 120}});
    under->setTitle("下面的按钮");
    under->addTarget([&taps](platform::Control&) { ++taps; },
                     platform::ControlEvent::TouchUpInside);
    host->view()->addSubview(under);

    SHSocialToast::makeTextAndShow("发送成功");
    EXPECT_EQ(toastsOnScreen(), std::vector<std::string>{"发送成功"});
    auto toast = toastOn(*window);
    ASSERT_TRUE(toast);
    // Clear of the status and navigation bars: the box's top edge 80 points down.
    EXPECT_DOUBLE_EQ(toast->boxFrame().origin.y, SHSocialiToast::kEdgeDistance);
    EXPECT_TRUE(driver.tap(under)) << driver.outline();
    EXPECT_EQ(taps, 1) << "the message takes no touches";

    scope->advance(0.99);
    EXPECT_EQ(toastsOnScreen(), std::vector<std::string>{"发送成功"});
    scope->advance(0.02);
    EXPECT_TRUE(toastsOnScreen().empty());
    EXPECT_FALSE(toastOn(*window)) << "taken off the window when it goes";
}

TEST_F(ShareToastTest, TheHostHidesMessagesOrMovesThem) {
    SHSocialConfig::setFinishToastIsHidden(true, SHSocialiToastGravity::Top);
    SHSocialToast::makeTextAndShow("发送成功");
    EXPECT_TRUE(toastsOnScreen().empty());

    SHSocialConfig::setFinishToastIsHidden(false, SHSocialiToastGravity::Bottom);
    SHSocialConfig::hiddenStatusTipFlag(true);
    SHSocialToast::makeTextAndShow("分享失败");
    EXPECT_TRUE(toastsOnScreen().empty()) << "status tips hidden";

    SHSocialConfig::hiddenStatusTipFlag(false);
    auto toast = SHSocialiToast::makeText("分享失败");
    toast->setDuration(static_cast<int>(SHSocialiToastDuration::Normal));
    toast->show();
    ASSERT_TRUE(toast->view());
    EXPECT_DOUBLE_EQ(toast->view()->boxFrame().maxY(), 480 - SHSocialiToast::kEdgeDistance);
    scope->advance(2.9);
    EXPECT_EQ(toastsOnScreen(), std::vector<std::string>{"分享失败"});
    toast->removeToast();
    EXPECT_TRUE(toastsOnScreen().empty());
}

TEST_F(ShareToastTest, WithoutAKeyWindowNothingShows) {
    window.reset();
    auto toast = SHSocialiToast::makeText("发送成功");
    toast->show();
    EXPECT_FALSE(toast->view());
}

using ShareThemeTest = ShareLookTest;

TEST_F(ShareThemeTest, ThemesInstallTheirHooksAndLeaveTheOthers) {
    auto& config = SHSocialConfigInternal::shareInstance();
    EXPECT_EQ(config.socialTheme, 1);
    EXPECT_TRUE(config.navigationbarConfig);
    EXPECT_TRUE(config.tableViewCellConfig);
    EXPECT_FALSE(config.gridViewConfig);

    int hostGrid = 0;
    SHSocialConfig::setShareGridViewTheme([&hostGrid](auto*, auto&, auto&) { ++hostGrid; });
    SHSocialConfig::setTheme(1);
    ASSERT_TRUE(config.gridViewConfig);
    config.gridViewConfig(nullptr, nullptr, nullptr);
    EXPECT_EQ(hostGrid, 1) << "theme 1 names no grid style";

    SHSocialConfig::setTheme(0);
    EXPECT_EQ(config.socialTheme, 0);
    auto background = std::make_shared<platform::View>();
    platform::BitmapContext context(platform::Size{4, 4});
    config.gridViewConfig(&context, background, nullptr);
    EXPECT_EQ(hostGrid, 1) << "theme 0 has its own grid style";
    EXPECT_EQ(background->backgroundColor(), platform::Color::darkGray());
    EXPECT_EQ(context.strokeColor(), platform::Color::white());
    EXPECT_EQ(context.lineWidth(), 0);
    // The cell style of theme 1 stays: theme 0 names none.
    auto cell =
        platform::View::make<platform::TableViewCell>(platform::TableViewCellStyle::Value1, "c");
    config.tableViewCellConfig(cell, 2);
    EXPECT_EQ(cell->textLabel()->textColor(), platform::Color::rgba(0.353f, 0.353f, 0.353f));
}

TEST_F(ShareThemeTest, ThemeZeroGivesTheEditScreenABlackBarAndFramedTitledButtons) {
    SHSocialConfig::setTheme(0);
    auto edit = presentEdit();
    ASSERT_TRUE(edit);
    auto close = barButton(edit->navigationItem().leftBarButtonItem());
    auto post = barButton(edit->navigationItem().rightBarButtonItem());
    ASSERT_TRUE(close && post);
    EXPECT_EQ(close->title(), "关 闭");
    EXPECT_EQ(post->title(), "发 布");
    EXPECT_TRUE(post->image().isNull());
    EXPECT_EQ(post->backgroundImage().name(),
              "SHSocialSDKResourcesNew.bundle/OtherTheme/SHS_nav_button_normal");
    EXPECT_EQ(post->backgroundImage().leftCapWidth(), 8);
    EXPECT_EQ(post->backgroundImage().topCapHeight(), 10);
    EXPECT_FALSE(post->backgroundImage().isNull()) << "the picture is in the bundle";
    auto bar = edit->navigationController()->navigationBar();
    EXPECT_EQ(bar->backgroundImage().name(),
              "SHSocialSDKResourcesNew.bundle/OtherTheme/SHS_nav_bar_bg_black");
    auto title = titleLabel(*edit);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text(), "分享至QQ空间");
    EXPECT_EQ(title->textColor(), platform::Color::white());

    // The titled post button sends as the picture button does: once what the screen asked for
    // on opening has been answered, its tap brings the share service a share of the text.
    ASSERT_TRUE(driver.type("shareText", "开放日见")) << driver.outline();
    ASSERT_TRUE(waitUntilQuiet());
    const auto before = services->shareRequests().size();
    const auto shares = requestsOf(5);
    EXPECT_TRUE(driver.tap("发 布")) << driver.outline();
    ASSERT_TRUE(waitForShareRequests(before + 1));
    ASSERT_TRUE(waitUntilQuiet());
    EXPECT_EQ(requestsOf(5), shares + 1);
}

TEST_F(ShareThemeTest, ThemeOneGivesPictureButtonsAndTheSdksTitleColour) {
    auto edit = presentEdit();
    ASSERT_TRUE(edit);
    auto close = barButton(edit->navigationItem().leftBarButtonItem());
    auto post = barButton(edit->navigationItem().rightBarButtonItem());
    ASSERT_TRUE(close && post);
    EXPECT_EQ(post->image().name(), "SHSocialSDKResourcesNew.bundle/Buttons/SHS_nav_button_send");
    EXPECT_FALSE(post->image().isNull());
    EXPECT_EQ(close->image().name(), "SHSocialSDKResourcesNew.bundle/Buttons/SHS_nav_button_close");
    EXPECT_TRUE(post->title().empty());
    auto title = titleLabel(*edit);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->textColor(), kDefaultTitle);
}

TEST_F(ShareThemeTest, TheHostsHooksReachTheListsBarItsCellsAndItsCloseButton) {
    struct Call {
        bool bar, close, item;
    };
    std::vector<Call> calls;
    SHSocialConfig::setNavigationBarConfig([&calls](auto& bar, auto& close, auto& back, auto& post,
                                                    auto& refresh, platform::NavigationItem* item) {
        EXPECT_FALSE(back || post || refresh);
        calls.push_back({bar != nullptr, close != nullptr, item != nullptr});
    });
    std::vector<int> cellTypes;
    SHSocialConfig::setTableViewCellConfig(
        [&cellTypes](const std::shared_ptr<platform::TableViewCell>& cell, int type) {
            cellTypes.push_back(type);
            cell->textLabel()->setTextColor(platform::Color::redColor());
        });
    auto list = presentList();
    ASSERT_TRUE(list);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[0].close && !calls[0].bar && !calls[0].item) << "the close button";
    EXPECT_TRUE(calls[1].item && !calls[1].close) << "the list's bar and title";
    ASSERT_FALSE(cellTypes.empty());
    for (int type : cellTypes) EXPECT_EQ(type, SHSViewControllerShareList);
    const auto cells = list->tableView()->visibleCells();
    ASSERT_FALSE(cells.empty());
    EXPECT_EQ(cells.front()->textLabel()->textColor(), platform::Color::redColor());
}

TEST_F(ShareThemeTest, TheGridHookRestylesTheCaptionsAndTheLines) {
    int withContext = 0;
    SHSocialConfig::setShareGridViewTheme(
        [&withContext](platform::BitmapContext* context,
                       const std::shared_ptr<platform::View>& background,
                       const std::shared_ptr<platform::Label>& caption) {
            if (context) {
                ++withContext;
                context->setStrokeColor(platform::Color::redColor());
                context->setLineWidth(2);
            }
            if (background)
                background->setBackgroundColor(platform::Color::black());
            if (caption) {
                caption->setTextColor(platform::Color::white());
                caption->setFrame(platform::Rect{{0, 0}, {60, 16}});
            }
        });
    SHSocialSnsService::presentSnsIconSheetView(host, std::string(kAppKey), std::nullopt, {},
                                                std::vector<std::string>{"qzone", "tencent"},
                                                std::weak_ptr<SHSocialUIDelegate>());
    auto sheet = SHSocialIconSheetView::lastShown();
    ASSERT_TRUE(sheet);
    scope->advance(1);
    EXPECT_GE(withContext, 1);
    std::shared_ptr<platform::Label> caption;
    for (const auto& child : sheet->subviews())
        if (auto found = child->viewWithTag(210))
            caption = std::dynamic_pointer_cast<platform::Label>(found);
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->textColor(), platform::Color::white());
    EXPECT_EQ(caption->frame().size, (platform::Size{60, 16}));
    EXPECT_EQ(caption->frame().origin, (platform::Point{5, 47}));
    // The lines were stroked red: the one right of the first column, at x 80.
    std::shared_ptr<platform::ImageView> panel;
    for (const auto& child : sheet->subviews())
        for (const auto& inner : child->subviews())
            if (auto image = std::dynamic_pointer_cast<platform::ImageView>(inner);
                image && image->frame().size == platform::Size{320, 80})
                panel = image;
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->backgroundColor(), platform::Color::black());
    const auto grid = panel->image();
    const double scale = grid.scale();
    EXPECT_EQ(grid.pixelAt(int(80 * scale), int(40 * scale)), 0xFFFF0000u);
}

}  // namespace
}  // namespace sharetest
