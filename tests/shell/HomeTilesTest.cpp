#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "campus/AcademicForumViewController.h"
#include "campus/AnnouncementViewController.h"
#include "campus/QuestionnaireViewController.h"
#include "career/EmploymentViewController.h"
#include "career/NewStatisticsViewController.h"
#include "client/DefaultModuleTable.h"
#include "platform/foundation/KeyedArchive.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/CollectionView.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/WebView.h"
#include "shell/EmailWebViewController.h"
#include "shell/ItemsViewController.h"
#include "tests/shell/HomeTestSupport.h"
#include "webcontainer/WebDetailViewController.h"

using namespace hometest;
using platform::Json;

namespace {

const char* const kTeacher = "20050031";

class HomeTilesTest : public HomeTest {
protected:
    static std::vector<std::string> titles(const TileList& tiles) {
        std::vector<std::string> out;
        for (const auto& tile : tiles) out.push_back(tile->titleName);
        return out;
    }
    static std::vector<std::string> defaultTitlesWithAddMore() {
        auto out = titles(DefaultModuleTable::tiles());
        out.push_back("添加更多");
        return out;
    }
    std::vector<std::string> gridTitles() const { return titles(home()->modelArr()); }

    bool shows(const std::string& text) const {
        for (const auto& shown : driver.visibleTexts()) {
            if (shown == text)
                return true;
        }
        return false;
    }

    // The tiles of a teacher who arranged them: three shown, the other five hidden.
    static void storeTeacherArrangement() {
        storeTiles(SignInKey::kTeacherSelectItemUp,
                   {tile("通知公告", "announcement"), tile("学术讲座", "academicForum"),
                    tile("就业服务", "Employment")});
        storeTiles(SignInKey::kTeacherSelectItemDown,
                   {tile("科研服务", "research"), tile("问卷调查", "questionnaire"),
                    tile("迎新统计", "NewStatistics"), tile("电子邮箱", "Email"),
                    tile("移动考勤", "attendance")});
    }

    void tapTile(const std::string& title) {
        if (!shows(title)) {
            ASSERT_TRUE(driver.swipeToPage("tiles", 1));
        }
        ASSERT_TRUE(driver.tap(title)) << driver.outline();
        settle();
    }

    void closeSignInPage() {
        presented()->dismissViewController(false);
        settle();
    }
};

// --- Layout --------------------------------------------------------------------------------

TEST_F(HomeTilesTest, SignedOutTheDefaultTilesAndTheAddMoreTileFillTwoPages) {
    launch();

    EXPECT_EQ(gridTitles(), defaultTitlesWithAddMore());
    const auto& grid = *home()->myCollectionView();
    EXPECT_EQ(grid.numberOfSections(), 2);
    EXPECT_EQ(grid.frame(), (platform::Rect{{0, 0}, {375, 190}}));
    EXPECT_EQ(home()->lineView()->frame().origin.y, 189);
    EXPECT_EQ(home()->newsTableView()->frame(), (platform::Rect{{0, 190}, {375, 667 - 190 - 113}}));
    EXPECT_FALSE(home()->pageControl()->isHidden());
    EXPECT_EQ(home()->pageControl()->numberOfPages(), 2);
    EXPECT_TRUE(shows("通知公告")) << driver.outline();
    EXPECT_TRUE(shows("移动考勤"));
    EXPECT_FALSE(shows("添加更多"));

    ASSERT_TRUE(driver.swipeToPage("tiles", 1));
    EXPECT_EQ(home()->pageControl()->currentPage(), 1);
    EXPECT_TRUE(shows("添加更多")) << driver.outline();
    EXPECT_FALSE(shows("通知公告"));

    // Signed out, the menu cannot be swiped open and its button presents the sign-in page.
    EXPECT_FALSE(delegate->sideViewController()->needSwipeShowMenu());
    ASSERT_TRUE(driver.tap("menu"));
    settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<LoginViewController>(presented())) << driver.outline();
    EXPECT_FALSE(delegate->sideViewController()->isShowingRight());
}

TEST_F(HomeTilesTest, AStoredThreeTileListGivesOneRowAndHidesThePageIndicator) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    storeTeacherArrangement();
    launch();

    EXPECT_EQ(gridTitles(),
              (std::vector<std::string>{"通知公告", "学术讲座", "就业服务", "添加更多"}));
    EXPECT_EQ(home()->myCollectionView()->frame(), (platform::Rect{{0, 0}, {375, 95}}));
    EXPECT_EQ(home()->myCollectionView()->numberOfSections(), 1);
    EXPECT_EQ(home()->lineView()->frame().origin.y, 94);
    EXPECT_EQ(home()->newsTableView()->frame(), (platform::Rect{{0, 95}, {375, 667 - 95 - 113}}));
    EXPECT_TRUE(home()->pageControl()->isHidden());
    EXPECT_EQ(home()->pageControl()->currentPage(), 0);
    EXPECT_TRUE(shows("添加更多")) << driver.outline();
}

TEST_F(HomeTilesTest, AUserWhoHidEveryTileSeesOnlyTheAddMoreTile) {
    storeSignIn(SignInKey::LoginTypeStudent, "2021213045");
    storeTiles(SignInKey::kStudentSelectItemUp, {});
    storeTiles(SignInKey::kStudentSelectItemDown, DefaultModuleTable::tiles());
    launch();

    EXPECT_EQ(gridTitles(), std::vector<std::string>{"添加更多"});
}

TEST_F(HomeTilesTest, AnUnreadableStoredTileListCountsAsAbsent) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    defaults().setData(platform::toBytes("not an archive"), SignInKey::kTeacherSelectItemUp);
    defaults().setData(platform::archiveRootObject(Json{{"titleName", "一个"}}),
                       SignInKey::kTeacherSelectItemDown);
    launch();

    EXPECT_EQ(gridTitles(), defaultTitlesWithAddMore());
    // The damaged data is not overwritten by looking at it.
    EXPECT_TRUE(defaults().dataForKey(SignInKey::kTeacherSelectItemUp));
}

// --- Operations ----------------------------------------------------------------------------

TEST_F(HomeTilesTest, SignedOutEveryOperationButResearchPresentsTheSignInPage) {
    launch();

    std::vector<std::string> gated;
    for (const auto& row : DefaultModuleTable::rows()) {
        if (std::string(row.method) != "research")
            gated.push_back(row.title);
    }
    gated.push_back("添加更多");
    for (const auto& title : gated) {
        SCOPED_TRACE(title);
        tapTile(title);
        auto login = std::dynamic_pointer_cast<LoginViewController>(presented());
        ASSERT_TRUE(login) << driver.outline();
        EXPECT_FALSE(login->isWebLogin());
        EXPECT_EQ(login->modalTransitionStyle(), platform::ModalTransitionStyle::CoverVertical);
        EXPECT_EQ(homeStack()->viewControllers().size(), 1u);
        closeSignInPage();
    }

    // The payment operation has no default tile; a stored one would name it.
    home()->PushVCWithName("quorvel");
    settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<LoginViewController>(presented()));
    EXPECT_EQ(homeStack()->viewControllers().size(), 1u);
}

TEST_F(HomeTilesTest, ResearchSaysNotOpenYetWhetherOrNotSignedIn) {
    launch();
    tapTile("科研服务");
    EXPECT_EQ(homeToasts(), std::vector<std::string>{"暂未开通"});
    EXPECT_FALSE(presented());
    EXPECT_EQ(homeStack()->viewControllers().size(), 1u);

    settle(1.5);
    EXPECT_TRUE(homeToasts().empty());
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    tapTile("科研服务");
    EXPECT_EQ(homeToasts(), std::vector<std::string>{"暂未开通"});
    EXPECT_EQ(homeStack()->viewControllers().size(), 1u);
}

TEST_F(HomeTilesTest, SignedInEachOperationPushesItsScreenOverTheTabBar) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    launch();

    struct Expectation {
        std::string tile;
        std::string title;
        std::function<bool(const std::shared_ptr<platform::ViewController>&)> isExpectedScreen;
    };
    auto is = [](auto* typeTag) {
        using T = std::remove_pointer_t<decltype(typeTag)>;
        return [](const std::shared_ptr<platform::ViewController>& screen) {
            return std::dynamic_pointer_cast<T>(screen) != nullptr;
        };
    };
    const std::vector<Expectation> expectations = {
        {"通知公告", "通知公告", is(static_cast<AnnouncementViewController*>(nullptr))},
        {"学术讲座", "学术讲座", is(static_cast<AcademicForumViewController*>(nullptr))},
        {"问卷调查", "问卷调查", is(static_cast<QuestionnaireViewController*>(nullptr))},
        {"迎新统计", "迎新统计", is(static_cast<NewStatisticsViewController*>(nullptr))},
        {"就业服务", "就业服务", is(static_cast<EmploymentViewController*>(nullptr))},
        {"电子邮箱", "邮箱", is(static_cast<EmailWebViewController*>(nullptr))},
        {"移动考勤", "移动考勤", is(static_cast<WebDetailViewController*>(nullptr))},
        {"添加更多", "栏目订阅", is(static_cast<ItemsViewController*>(nullptr))},
    };
    for (const auto& expected : expectations) {
        SCOPED_TRACE(expected.tile);
        tapTile(expected.tile);
        auto top = topOfHomeStack();
        ASSERT_EQ(homeStack()->viewControllers().size(), 2u) << driver.outline();
        EXPECT_TRUE(expected.isExpectedScreen(top));
        EXPECT_EQ(top->title(), expected.title);
        EXPECT_TRUE(top->hidesBottomBarWhenPushed());
        EXPECT_TRUE(tabBarController()->tabBar()->isHidden());
        EXPECT_FALSE(presented());
        if (auto web = std::dynamic_pointer_cast<WebDetailViewController>(top)) {
            EXPECT_EQ(web->urlStr(), server.baseUrl() + "/CM/login.html");
        }
        ASSERT_TRUE(waitForQuiet());
        homeStack()->popViewController(false);
        settle();
    }
}

TEST_F(HomeTilesTest, ThePaymentPageAddressCarriesTheSignedCustomerNumber) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    defaults().setObject(Json{{"userId", kTeacher}, {"userName", "王建国"}},
                         SignInKey::WebViewUserInfo);
    storeTiles(SignInKey::kTeacherSelectItemUp, {tile("校园支付", "quorvel")});
    storeTiles(SignInKey::kTeacherSelectItemDown, {});
    launch();

    tapTile("校园支付");
    auto web = std::dynamic_pointer_cast<WebDetailViewController>(topOfHomeStack());
    ASSERT_TRUE(web) << driver.outline();
    EXPECT_EQ(web->titleStr(), "校园支付");
    EXPECT_EQ(web->urlStr(), server.baseUrl() +
                                 "/school/interface/toPay?json=%7B%22custno%22:%2220050031%22,"
                                 "%22accounttype%22:%22custno%22,%22front_skip_url%22:null%7D"
                                 "&signature=0313971c507df29ceeaaf316996c1f25");
    EXPECT_TRUE(web->hidesBottomBarWhenPushed());
    // The payment host accepts the signature.
    ASSERT_TRUE(waitForWeb([&] { return web->webView()->hasPage() && !web->webView()->isBusy(); }));
    EXPECT_NE(web->webView()->pageHTML().find("<span id=\"custno\">20050031</span>"),
              std::string::npos)
        << web->webView()->pageHTML();
}

TEST_F(HomeTilesTest, ACustomerNumberWithQuotesAndAmpersandsArrivesIntact) {
    ServiceConfig::shared().paymentRoot = "http://pay.example:8082";
    EXPECT_EQ(HomePageViewController::paymentURL("张&三\""),
              "http://pay.example:8082/school/interface/toPay?json="
              "%7B%22custno%22:%22%E5%BC%A0%26%E4%B8%89%5C%22%22,%22accounttype%22:%22custno%22,"
              "%22front_skip_url%22:null%7D&signature=410e723d55ab51d8b88dc87a89263afb");
    ServiceConfig::shared().pointAllAt(server.baseUrl());

    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    defaults().setObject(Json{{"userId", "张&三\""}}, SignInKey::WebViewUserInfo);
    launch();
    home()->PushVCWithName("quorvel");
    settle();
    auto web = std::dynamic_pointer_cast<WebDetailViewController>(topOfHomeStack());
    ASSERT_TRUE(web);
    ASSERT_TRUE(waitForWeb([&] { return web->webView()->hasPage() && !web->webView()->isBusy(); }));
    // The page's text holds the number as sent; the browser writes a quote in text as it is.
    EXPECT_NE(web->webView()->pageHTML().find("<span id=\"custno\">张&amp;三\"</span>"),
              std::string::npos)
        << web->webView()->pageHTML();
    EXPECT_EQ(web->webView()->stringByEvaluatingJavaScriptFromString(
                  "document.getElementById('custno').textContent"),
              "张&三\"");
}

TEST_F(HomeTilesTest, PaymentWithoutUserInformationShowsAToastAndOpensNothing) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    launch();

    home()->PushVCWithName("quorvel");
    settle();
    EXPECT_EQ(homeToasts(), std::vector<std::string>{HomePageViewController::kNoCustomerText});
    EXPECT_EQ(homeStack()->viewControllers().size(), 1u);
    EXPECT_FALSE(presented());
}

TEST_F(HomeTilesTest, AnOperationNameTheHomePageDoesNotHaveDoesNothing) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    storeTiles(SignInKey::kTeacherSelectItemUp,
               {tile("格式化", "formatDisk"), tile("通知公告", "announcement")});
    storeTiles(SignInKey::kTeacherSelectItemDown, {});
    launch();

    tapTile("格式化");
    EXPECT_EQ(homeStack()->viewControllers().size(), 1u);
    EXPECT_FALSE(presented());
    EXPECT_TRUE(homeToasts().empty());

    tapTile("通知公告");
    EXPECT_TRUE(std::dynamic_pointer_cast<AnnouncementViewController>(topOfHomeStack()));
}

TEST_F(HomeTilesTest, TheTileEditorStartsFromTheStoredArrangementOrTheGrid) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    launch();

    tapTile("添加更多");
    auto editor = std::dynamic_pointer_cast<ItemsViewController>(topOfHomeStack());
    ASSERT_TRUE(editor);
    EXPECT_EQ(titles(editor->modelArrUp()), titles(DefaultModuleTable::tiles()));
    EXPECT_TRUE(editor->modelArrDown().empty());
    homeStack()->popViewController(false);
    settle();

    storeTeacherArrangement();
    home()->PushVCWithName("addNewMethod");
    settle();
    editor = std::dynamic_pointer_cast<ItemsViewController>(topOfHomeStack());
    ASSERT_TRUE(editor);
    EXPECT_EQ(titles(editor->modelArrUp()),
              (std::vector<std::string>{"通知公告", "学术讲座", "就业服务"}));
    EXPECT_EQ(editor->modelArrDown().size(), 5u);
}

// --- State changes -------------------------------------------------------------------------

TEST_F(HomeTilesTest, TheSignInAndSignOutNotificationsRebuildTheGrid) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    launch();
    ASSERT_EQ(gridTitles(), defaultTitlesWithAddMore());

    storeTeacherArrangement();
    platform::NotificationCenter::defaultCenter().post(SignInNotification::kRefreshLoginMenu);
    settle();
    EXPECT_EQ(gridTitles(),
              (std::vector<std::string>{"通知公告", "学术讲座", "就业服务", "添加更多"}));
    EXPECT_EQ(home()->myCollectionView()->frame().size.height, 95);
    EXPECT_TRUE(shows("就业服务"));
    EXPECT_FALSE(shows("问卷调查"));

    platform::NotificationCenter::defaultCenter().post(SignInNotification::kRefreshLogoutMenu);
    settle();
    EXPECT_EQ(gridTitles(), defaultTitlesWithAddMore());
    EXPECT_EQ(home()->myCollectionView()->frame().size.height, 190);
    EXPECT_TRUE(shows("问卷调查"));
}

TEST_F(HomeTilesTest, ForAUserOfNeitherTypeTheSignInNotificationKeepsTheTiles) {
    storeSignIn(nullptr, "guest");
    launch();
    platform::NotificationCenter::defaultCenter().post(SignInNotification::kRefreshLoginMenu);
    settle();
    EXPECT_EQ(gridTitles(), defaultTitlesWithAddMore());
}

TEST_F(HomeTilesTest, AChangeOfAppVersionSignsOutAndBringsBackTheDefaultTiles) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    storeTeacherArrangement();
    defaults().setString("0.0.1", SignInKey::appCurVersion);
    launch();

    // The sign-in state goes (which keys exactly is the removal's own test).
    for (const char* key : {SignInKey::isLogin, SignInKey::UserId, SignInKey::LoginTypeTeacher,
                            SignInKey::kTeacherSelectItemUp, SignInKey::kTeacherSelectItemDown}) {
        EXPECT_FALSE(defaults().objectForKey(key)) << key;
    }
    EXPECT_EQ(defaults().stringForKey(SignInKey::appCurVersion),
              platform::Bundle::main().shortVersionString());
    EXPECT_TRUE(defaults().boolForKey(SignInKey::firstLaunch));
    EXPECT_EQ(gridTitles(), defaultTitlesWithAddMore());
    EXPECT_EQ(home()->myCollectionView()->frame().size.height, 190);
    EXPECT_FALSE(delegate->sideViewController()->needSwipeShowMenu());

    // What was removed stays removed after a restart.
    platform::UserDefaults::resetStandard();
    EXPECT_FALSE(defaults().objectForKey(SignInKey::isLogin));
}

TEST_F(HomeTilesTest, TheFirstRecordedVersionOnlyStoresIt) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    defaults().removeObjectForKey(SignInKey::appCurVersion);
    launch();

    EXPECT_TRUE(defaults().boolForKey(SignInKey::isLogin));
    EXPECT_EQ(defaults().stringForKey(SignInKey::appCurVersion),
              platform::Bundle::main().shortVersionString());
}

// --- Menu button and side menu ---------------------------------------------------------------

TEST_F(HomeTilesTest, SignedInOnTheNextAppearanceTheMenuCanBeSwipedAndTheButtonOpensIt) {
    launch();
    EXPECT_FALSE(delegate->sideViewController()->needSwipeShowMenu());

    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    tapTile("通知公告");
    homeStack()->popViewController(false);
    settle();
    EXPECT_TRUE(delegate->sideViewController()->needSwipeShowMenu());

    ASSERT_TRUE(driver.tap("menu"));
    settle();
    EXPECT_TRUE(delegate->sideViewController()->isShowingRight());
    EXPECT_FALSE(presented());
}

TEST_F(HomeTilesTest, SignedInASwipeOverTheGridPagesItAndASwipeOverTheNewsOpensTheMenu) {
    storeSignIn(SignInKey::LoginTypeTeacher, kTeacher);
    launch();
    ASSERT_TRUE(delegate->sideViewController()->needSwipeShowMenu());

    // One touch sequence is one gesture: the grid's own paging wins inside the grid.
    ASSERT_TRUE(driver.dragFinger({340, 110}, {40, 110}));
    settle();
    EXPECT_EQ(home()->pageControl()->currentPage(), 1);
    EXPECT_FALSE(delegate->sideViewController()->isShowingRight());
    EXPECT_EQ(delegate->sideViewController()->rootViewOffset(), 0);

    ASSERT_TRUE(driver.dragFinger({340, 400}, {40, 400}));
    settle();
    EXPECT_TRUE(delegate->sideViewController()->isShowingRight());
    EXPECT_EQ(home()->pageControl()->currentPage(), 1);
}

}  // namespace
