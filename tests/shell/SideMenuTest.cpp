#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "client/DefaultModuleTable.h"
#include "client/MyTool.h"
#include "client/SignInSession.h"
#include "components/webimage/ImageCache.h"
#include "platform/foundation/Files.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "shell/ItemsViewController.h"
#include "shell/RightViewController.h"
#include "tests/shell/HomeTestSupport.h"
#include "tests/support/InkTestSupport.h"

using namespace hometest;
using platform::Json;
namespace fs = std::filesystem;

namespace {

constexpr const char* kWeatherPath = "/adat/cityinfo/101210101.html";
constexpr const char* kStudent = "2021213045";

class SideMenuTest : public HomeTest {
protected:
    // No news, so no thumbnails reach the image cache while a test measures it.
    SideMenuTest() {
        fakes::Reply noNews;
        noNews.body = Json{{"News", Json::array()}}.dump();
        server.setReply("GET", kNewsPath, noNews);
    }

    // Signed in through the session as the sign-in page does, with the reply's message.
    static void signIn(const std::string& account, const Json& msg) {
        SignInSession().applySignIn(account, msg);
    }
    static void signInTeacher() {
        signIn(shelltest::kTeacher, {{"userName", "王建国"}, {"userType", "teacher"}});
    }

    std::shared_ptr<platform::components::SideViewController> side() const {
        return delegate->sideViewController();
    }
    std::shared_ptr<RightViewController> menu() const {
        return std::dynamic_pointer_cast<RightViewController>(side()->rightViewController());
    }

    // Opens the menu with its button and lets its weather request be answered.
    void openWithButton() {
        ASSERT_TRUE(driver.tap("menu"));
        settle();
        ASSERT_TRUE(menu()->bgView()) << driver.outline();
        ASSERT_TRUE(waitForQuiet());
    }
    // Closes the menu and opens it again, as the user does to see the panel afresh.
    void reopen() {
        side()->hideSideViewController(false);
        side()->showRightViewController(false);
        ASSERT_TRUE(waitForQuiet());
    }

    void serveWeather(const Json& document) {
        fakes::Reply reply;
        reply.contentType = "text/html";
        reply.body = document.dump();
        server.setReply("GET", kWeatherPath, reply);
    }
    static Json weatherInfo(const Json& weather, const Json& temp1, const Json& temp2) {
        return {{"weatherinfo", {{"weather", weather}, {"temp1", temp1}, {"temp2", temp2}}}};
    }

    std::string weatherLine() const { return menu()->weatherLabel()->text(); }
    std::string weatherIcon() const { return menu()->tqImageView()->image().name(); }

    std::vector<std::string> menuToasts() const { return overlayTexts(*menu()->bgView()); }

    static std::vector<std::string> titles(const TileList& tiles) {
        std::vector<std::string> out;
        for (const auto& tile : tiles) out.push_back(tile->titleName);
        return out;
    }
    static TileList tiles(std::initializer_list<const char*> names) {
        TileList out;
        for (const char* name : names) out.push_back(tile(name, name));
        return out;
    }

    // Taps "栏目订阅" and returns the editor it presented.
    std::shared_ptr<ItemsViewController> openEditor() {
        EXPECT_TRUE(driver.tap(RightViewController::kSubscribeTitle));
        settle();
        auto navigation = std::dynamic_pointer_cast<platform::NavigationController>(
            side()->presentedViewController());
        if (!navigation)
            return nullptr;
        return std::dynamic_pointer_cast<ItemsViewController>(
            navigation->viewControllers().front());
    }

    static platform::components::ImageCache& imageCache() {
        return platform::components::ImageCache::shared();
    }
    // The image cache holding exactly one file of `bytes` bytes (none when negative).
    void fillImageCache(long bytes) {
        bool cleared = false;
        imageCache().clearDisk([&] { cleared = true; });
        ASSERT_TRUE(waitFor([&] { return cleared; }));
        if (bytes < 0)
            fs::remove_all(imageCache().diskCachePath());
        else
            ASSERT_TRUE(platform::writeFileAtomically(imageCache().diskCachePath() / "cached",
                                                      std::string(size_t(bytes), 'x')));
    }
    // Taps "清除缓存", answers the question and returns what the panel then reports.
    std::vector<std::string> clearCache(const char* answer) {
        EXPECT_TRUE(driver.tap(RightViewController::kClearCacheTitle));
        EXPECT_TRUE(driver.pressAlertButton(answer));
        waitFor([&] { return !menuToasts().empty(); });
        return menuToasts();
    }
};

// --- Reaching the panel and what it shows ----------------------------------------------------

TEST_F(SideMenuTest, TheButtonAndASwipeOpenThePanelWithTheNameTheWeatherAndTwoRows) {
    signInTeacher();
    launch();
    openWithButton();

    EXPECT_EQ(menu()->nameLabel()->text(), "王建国");
    // The sample document: temp1 15℃, temp2 8℃, 多云.
    EXPECT_EQ(weatherLine(), "8℃~15℃ 多云");
    EXPECT_EQ(weatherIcon(), "多云");
    ASSERT_EQ(server.requestsTo(kWeatherPath).size(), 1u);
    EXPECT_EQ(server.requestsTo(kWeatherPath)[0].method, "GET");
    EXPECT_TRUE(driver.find(RightViewController::kSubscribeTitle));
    EXPECT_TRUE(driver.find(RightViewController::kClearCacheTitle));

    // Closed by a tap on what shows of the home page, opened again by a swipe from the right
    // edge: a fresh panel asks for the weather again.
    ASSERT_TRUE(driver.tap("side-menu-cover"));
    settle();
    EXPECT_FALSE(side()->isShowingRight());
    ASSERT_TRUE(driver.dragFinger({370, 300}, {60, 300}));
    settle();
    EXPECT_TRUE(side()->isShowingRight());
    ASSERT_TRUE(waitForQuiet());
    EXPECT_EQ(server.requestsTo(kWeatherPath).size(), 2u);
    EXPECT_EQ(weatherLine(), "8℃~15℃ 多云");
}

TEST_F(SideMenuTest, TheWeatherLineDrawsBothDegreeSigns) {
    signInTeacher();
    launch();
    openWithButton();
    ASSERT_EQ(weatherLine(), "8℃~15℃ 多云");
    auto& label = *menu()->weatherLabel();
    EXPECT_GT(testsupport::inkWherePartStands(label, "8", "℃"), 0);
    EXPECT_GT(testsupport::inkWherePartStands(label, "8℃~15", "℃"), 0);
    EXPECT_GT(testsupport::inkWherePartStands(label, "8℃~", "15"), 0);
}

TEST_F(SideMenuTest, AUserWithoutANameGetsAnEmptyNameLine) {
    signIn(shelltest::kTeacher, {{"userType", "teacher"}});
    launch();
    openWithButton();
    EXPECT_EQ(menu()->nameLabel()->text(), "");

    // A null name is stored as an empty text and shows as one.
    signIn(shelltest::kTeacher, {{"userType", "teacher"}, {"userName", nullptr}});
    reopen();
    EXPECT_EQ(menu()->nameLabel()->text(), "");
}

// --- Weather line ----------------------------------------------------------------------------

TEST_F(SideMenuTest, TheWeatherLinePutsTemp2FirstAndTheIconFollowsTheFirstMatchingRule) {
    signInTeacher();
    launch();
    openWithButton();

    struct Case {
        const char* weather;
        const char* icon;
    };
    const Case cases[] = {
        {"晴", "晴"},
        {"多云", "多云"},
        {"晴转阴", "晴转多云"},
        {"小雨夹雪", "雨夹雪"},
        {"小雨", "雨"},
        {"大雪", "雪"},
        {"阴", ""},
        {"多云转晴", ""},
        {"晴转雨", "晴转多云"},
    };
    for (const Case& c : cases) {
        serveWeather(weatherInfo(c.weather, "10℃", "3℃"));
        reopen();
        EXPECT_EQ(weatherLine(), std::string("3℃~10℃ ") + c.weather);
        EXPECT_EQ(weatherIcon(), c.icon) << c.weather;
    }
}

TEST_F(SideMenuTest, AWeatherReplyWithoutThreeTextsOrOfAnotherShapeShowsNothing) {
    signInTeacher();
    launch();
    openWithButton();

    const Json replies[] = {
        weatherInfo("晴", nullptr, "3℃"),
        weatherInfo(nullptr, "10℃", "3℃"),
        weatherInfo("晴", 10, 3),
        weatherInfo(Json::array({"晴"}), "10℃", "3℃"),
        Json{{"weatherinfo", {{"weather", "晴"}, {"temp1", "10℃"}}}},
        Json{{"weatherinfo", nullptr}},
        Json{{"weatherinfo", "晴"}},
        Json{{"weather", "晴"}, {"temp1", "10℃"}, {"temp2", "3℃"}},
        Json::array({weatherInfo("晴", "10℃", "3℃")}),
        Json("晴"),
    };
    for (const Json& reply : replies) {
        serveWeather(reply);
        reopen();
        EXPECT_EQ(weatherLine(), "") << reply.dump();
        EXPECT_TRUE(menu()->tqImageView()->image().isNull()) << reply.dump();
    }

    fakes::Reply failed;
    failed.status = 500;
    server.setReply("GET", kWeatherPath, failed);
    reopen();
    EXPECT_EQ(weatherLine(), "");
    EXPECT_TRUE(menu()->tqImageView()->image().isNull());
}

TEST_F(SideMenuTest, AWeatherReplyForAnEarlierPanelOrAMenuThatIsGoneChangesNothing) {
    signInTeacher();
    launch();

    // The first panel's request is held at the server until the second panel has its answer.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto asked = std::make_shared<std::atomic<int>>(0);
    auto holding = std::make_shared<std::atomic<bool>>(false);
    server.setHandler("GET", kWeatherPath,
                      [released, asked, holding](const fakes::RecordedRequest&) {
                          fakes::Reply reply;
                          reply.contentType = "text/html";
                          if (asked->fetch_add(1) == 0) {
                              *holding = true;
                              released.wait();
                              reply.body = weatherInfo("大雪", "-1℃", "-5℃").dump();
                          } else {
                              reply.body = weatherInfo("晴", "10℃", "3℃").dump();
                          }
                          return reply;
                      });
    EXPECT_TRUE(driver.tap("menu"));
    settle();
    EXPECT_TRUE(waitFor([&] { return holding->load(); }));
    side()->hideSideViewController(false);
    side()->showRightViewController(false);
    EXPECT_TRUE(waitFor([&] { return weatherLine() == "3℃~10℃ 晴"; }));

    // Released in every case, so the server can stop.
    release.set_value();
    ASSERT_TRUE(waitForQuiet());
    EXPECT_EQ(asked->load(), 2);
    EXPECT_EQ(weatherLine(), "3℃~10℃ 晴");
    EXPECT_EQ(weatherIcon(), "晴");

    // A menu that goes away before its answer arrives is simply not there to be written.
    auto orphan = std::make_shared<RightViewController>();
    orphan->loadViewIfNeeded();
    orphan->createUI();
    orphan.reset();
    ASSERT_TRUE(waitForQuiet());
}

// --- Tile editor -----------------------------------------------------------------------------

TEST_F(SideMenuTest, TheEditorOpensInItsOwnRedBarWithTheTeachersStoredLists) {
    signInTeacher();
    // The shown list empty, the hidden one holding tiles: exactly these lists, not defaults.
    storeTiles(SignInKey::kTeacherSelectItemUp, {});
    storeTiles(SignInKey::kTeacherSelectItemDown, tiles({"学术讲座", "电子邮箱"}));
    storeTiles(SignInKey::kStudentSelectItemUp, tiles({"就业服务"}));
    launch();
    openWithButton();

    auto editor = openEditor();
    ASSERT_TRUE(editor) << driver.outline();
    EXPECT_TRUE(titles(editor->modelArrUp()).empty());
    EXPECT_EQ(titles(editor->modelArrDown()), (std::vector<std::string>{"学术讲座", "电子邮箱"}));

    auto navigation = editor->navigationController();
    EXPECT_FALSE(navigation->navigationBar()->isTranslucent());
    EXPECT_EQ(navigation->navigationBar()->barTintColor(), MyTool::colorWithString("d04b50"));
    EXPECT_EQ(navigation->presentingViewController(), side());
}

TEST_F(SideMenuTest, AStudentsEditorGetsTheStudentLists) {
    signIn(kStudent, {{"userName", "李同学"}, {"userType", "student"}});
    storeTiles(SignInKey::kTeacherSelectItemUp, tiles({"科研服务"}));
    storeTiles(SignInKey::kStudentSelectItemUp, tiles({"就业服务", "通知公告"}));
    storeTiles(SignInKey::kStudentSelectItemDown, tiles({"问卷调查"}));
    launch();
    openWithButton();

    auto editor = openEditor();
    ASSERT_TRUE(editor);
    EXPECT_EQ(titles(editor->modelArrUp()), (std::vector<std::string>{"就业服务", "通知公告"}));
    EXPECT_EQ(titles(editor->modelArrDown()), (std::vector<std::string>{"问卷调查"}));
}

TEST_F(SideMenuTest, WithNothingStoredTheEditorGetsTheEightDefaultTilesAsTheGridShowsThem) {
    signInTeacher();
    launch();
    openWithButton();

    auto editor = openEditor();
    ASSERT_TRUE(editor);
    const auto shown = titles(editor->modelArrUp());
    EXPECT_EQ(shown, titles(DefaultModuleTable::tiles()));
    EXPECT_EQ(shown.size(), 8u);
    EXPECT_NE(std::find(shown.begin(), shown.end(), "移动考勤"), shown.end());
    EXPECT_TRUE(editor->modelArrDown().empty());
}

// --- Image cache -----------------------------------------------------------------------------

TEST_F(SideMenuTest, ClearingTheCacheReportsWhatWasClearedInMegabytesFromOneMegabyteOn) {
    signInTeacher();
    launch();
    openWithButton();

    fillImageCache(1024 * 1024);
    EXPECT_EQ(clearCache("确定"), (std::vector<std::string>{"清理缓存(1.00M)"}));
    EXPECT_EQ(imageCache().getSize(), 0u);
    settle(1.5);

    fillImageCache(1023 * 1024);
    EXPECT_EQ(clearCache("确定"), (std::vector<std::string>{"清理缓存(1023.00K)"}));
    EXPECT_EQ(imageCache().getSize(), 0u);
    settle(1.5);

    fillImageCache(-1);
    EXPECT_EQ(clearCache("确定"), (std::vector<std::string>{"清理缓存(0.00K)"}));
}

TEST_F(SideMenuTest, CancellingLeavesTheCacheAlone) {
    signInTeacher();
    launch();
    openWithButton();

    fillImageCache(4096);
    EXPECT_TRUE(driver.tap(RightViewController::kClearCacheTitle));
    auto alert = driver.outline();
    EXPECT_NE(alert.find("alert \"提示\" \"是否清除缓存?\" [取消] [确定]"), std::string::npos)
        << alert;
    EXPECT_TRUE(driver.pressAlertButton("取消"));
    settle();
    EXPECT_TRUE(menuToasts().empty());
    EXPECT_EQ(imageCache().getSize(), 4096u);
}

// --- Geometry --------------------------------------------------------------------------------

TEST_F(SideMenuTest, ThePanelFillsTheUncoveredPartAndItsRowsCanBeTappedOnEveryPhone) {
    signInTeacher();
    for (double width : {320.0, 375.0, 414.0}) {
        SCOPED_TRACE(width);
        relaunch(width, 667);
        ASSERT_TRUE(waitForQuiet());
        openWithButton();

        const double uncovered = side()->rightViewShowWidth();
        const auto table = menu()->tableView()->frame();
        EXPECT_DOUBLE_EQ(table.origin.x, width - uncovered);
        EXPECT_DOUBLE_EQ(table.size.width, uncovered);
        const auto avatar = menu()->headImageView()->frame();
        EXPECT_GT(avatar.origin.x, width - uncovered);
        EXPECT_LT(avatar.maxX(), width);

        EXPECT_TRUE(driver.tap(RightViewController::kClearCacheTitle));
        EXPECT_TRUE(driver.pressAlertButton("取消"));
    }
}

}  // namespace
