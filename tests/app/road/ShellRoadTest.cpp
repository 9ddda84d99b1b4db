// The shell's own screens through the real client: runs the campus program on
// tests/app/shell_road.campus with a fresh data directory and checks the screens it printed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class ShellRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/shell_road.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(ShellRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path()));
}

TEST_F(ShellRoad, SettingsOfferSignOutOnlyOnceSignedInAndAboutShowsTheVersion) {
    Transcript road(run.output);
    std::string signedOut = road.after("tap 设置", 1);
    EXPECT_TRUE(shows(signedOut, "navigation bar \"设置\"")) << signedOut;
    EXPECT_FALSE(shows(signedOut, "注销账号")) << signedOut;
    std::string swiped = road.after("drag 300 90 20 90");
    EXPECT_TRUE(shows(swiped, "navigation bar \"设置\"")) << swiped;
    EXPECT_FALSE(shows(swiped, "button \"登录\"")) << swiped;
    EXPECT_TRUE(shows(road.after("tap 意见反馈", 1), "button \"登录\""));

    std::string signedIn = road.after("settle", 1);
    EXPECT_TRUE(shows(signedIn, "button \"注销账号\"")) << signedIn;
    std::string about = road.after("tap 关于我们");
    EXPECT_TRUE(shows(about, "\"版本：2.0.4\"")) << about;
}

TEST_F(ShellRoad, FeedbackIsSentAndAcknowledged) {
    Transcript road(run.output);
    std::string page = road.after("tap 意见反馈", 2);
    EXPECT_TRUE(shows(page, "navigation bar \"意见反馈\"")) << page;
    std::string sent = road.after("tap submit");
    EXPECT_TRUE(shows(sent, "提交成功")) << sent;
}

TEST_F(ShellRoad, TheEditorMovesTilesByTapAndDragAndTheHomeGridFollows) {
    Transcript road(run.output);
    std::string editor = road.after("tap 添加更多");
    EXPECT_TRUE(shows(editor, "navigation bar \"栏目订阅\"")) << editor;
    std::string tapped = road.after("tap 科研服务");
    EXPECT_TRUE(shows(tapped, "tile, hidden 1 \"科研服务\"")) << tapped;
    std::string dragged = road.after("drag 电子邮箱 to 学术讲座");
    EXPECT_TRUE(shows(dragged, "tile, shown 2 \"电子邮箱\"")) << dragged;

    std::string grid = road.after("tap 完成", 1);
    const size_t notices = grid.find("item \"通知公告\"");
    const size_t mail = grid.find("item \"电子邮箱\"");
    const size_t lectures = grid.find("item \"学术讲座\"");
    ASSERT_NE(lectures, std::string::npos) << grid;
    EXPECT_LT(notices, mail) << grid;
    EXPECT_LT(mail, lectures) << grid;
    EXPECT_FALSE(shows(grid, "item \"科研服务\"")) << grid;
}

TEST_F(ShellRoad, ASwipeOverTheTileGridPagesTheGridAndASwipeElsewhereOpensTheSideMenu) {
    Transcript road(run.output);
    std::string paged = road.after("drag 340 110 40 110");
    EXPECT_TRUE(shows(paged, "page control 2/2")) << paged;
    EXPECT_FALSE(shows(paged, "side-menu-cover")) << paged;
    EXPECT_FALSE(shows(paged, "side-name")) << paged;
    std::string menu = road.after("drag 340 400 40 400");
    EXPECT_TRUE(shows(menu, "side-name  label \"王建国\"")) << menu;
    EXPECT_TRUE(shows(menu, "side-menu-cover")) << menu;
    std::string closed = road.after("tap side-menu-cover");
    EXPECT_FALSE(shows(closed, "side-menu-cover")) << closed;
}

TEST_F(ShellRoad, TheSideMenuShowsTheUserAndWeatherAndReopensTheStoredArrangement) {
    Transcript road(run.output);
    std::string menu = road.after("settle", 2);
    EXPECT_TRUE(shows(menu, "side-name  label \"王建国\"")) << menu;
    EXPECT_TRUE(shows(menu, "weather  label \"8℃~15℃ 多云\"")) << menu;
    EXPECT_TRUE(shows(road.after("alert 确定"), "清理缓存(")) << road.after("alert 确定");
    std::string editor = road.after("tap 栏目订阅");
    EXPECT_TRUE(shows(editor, "tile, hidden 1 \"科研服务\"")) << editor;
    EXPECT_TRUE(shows(editor, "tile, shown 2 \"电子邮箱\"")) << editor;
}

TEST_F(ShellRoad, TheMailboxOpensAndSignOutGatesTheMeetingTabAgain) {
    Transcript road(run.output);
    std::string mailbox = road.after("tap 电子邮箱");
    EXPECT_TRUE(shows(mailbox, "navigation bar \"邮箱\"")) << mailbox;
    EXPECT_FALSE(shows(mailbox, "(failed)")) << mailbox;

    std::string signedOut = road.after("tap 注销账号");
    EXPECT_TRUE(shows(signedOut, "注销成功")) << signedOut;
    EXPECT_FALSE(shows(signedOut, "button \"注销账号\"")) << signedOut;
    std::string gated = road.after("tap 会议");
    EXPECT_TRUE(shows(gated, "button \"登录\"")) << gated;
}

}  // namespace
