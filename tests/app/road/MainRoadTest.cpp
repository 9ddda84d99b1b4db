// The main road through the real client, end to end: runs the campus program on
// tests/app/main_road.campus against its own demo services with a fresh data directory, then
// launches it again on the same directory, and checks the screens it printed.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::ProgramRun;
using campusrun::runCampus;
using campusrun::shows;
using campusrun::Transcript;

class MainRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        std::filesystem::path dataDir = home->path() / "state";
        first = runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/main_road.campus", dataDir);

        std::filesystem::path again = home->path() / "again.campus";
        std::ofstream(again) << "tap 会议\n";
        second = runCampus(home->path(), again, dataDir);

        std::filesystem::path wrong = home->path() / "wrong.campus";
        std::ofstream(wrong) << "tap 不存在的按钮\nback\n";
        failing = runCampus(home->path(), wrong, dataDir);
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline ProgramRun first;
    static inline ProgramRun second;
    static inline ProgramRun failing;
};

TEST_F(MainRoad, RunsToTheEndOnItsOwnDemoServicesWithoutAFailedCommand) {
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_EQ(first.output.rfind("demo services on http://127.0.0.1:", 0), 0u) << first.output;
    EXPECT_FALSE(shows(first.output, "error: ")) << first.output;
}

// So that CI notices a road that no longer leads where it did.
TEST_F(MainRoad, AFailedCommandFailsTheScriptButTheRestStillRuns) {
    EXPECT_EQ(failing.status, 1) << failing.output;
    Transcript wrong(failing.output);
    EXPECT_EQ(wrong.after("tap 不存在的按钮").rfind("error: nothing on screen shows", 0), 0u)
        << failing.output;
    EXPECT_TRUE(shows(failing.output, "> back\n")) << failing.output;
}

TEST_F(MainRoad, TheFirstLaunchShowsTheIntroductionThenTheNewsPageByPage) {
    Transcript road(first.output);
    EXPECT_TRUE(shows(road.launch(), "image \"6-1\" 375x667")) << road.launch();
    // Under the pictures, once, the way in that nothing on them tells.
    EXPECT_TRUE(shows(road.launch(),
                      "To go in, swipe through the introduction: swipe intro 3 "
                      "(help lists the commands).\n"))
        << road.launch();
    std::string home = road.after("swipe intro 3");
    EXPECT_FALSE(shows(home, "image \"6-1\"")) << home;
    EXPECT_FALSE(shows(home, "To go in")) << home;
    EXPECT_TRUE(shows(home, "tab \"会议\"")) << home;
    EXPECT_TRUE(shows(home, "r0  cell \"我校召开2024年春季学期教学工作会议\" \"2024-04-16 09:30\""))
        << home;
    EXPECT_TRUE(shows(home, "item \"通知公告\"")) << home;

    std::string list = road.after("swipe news 2");
    EXPECT_TRUE(shows(list, "r10  cell \"学校召开党风廉政建设和反腐败工作会议\"")) << list;
}

TEST_F(MainRoad, TheMeetingTabPresentsTheSignInPageUntilTheTeacherSignsIn) {
    Transcript road(first.output);
    std::string signIn = road.after("tap 会议", 1);
    EXPECT_TRUE(shows(signIn, "field placeholder \"账号\"")) << signIn;
    EXPECT_TRUE(shows(signIn, "button \"登录\"")) << signIn;
    EXPECT_FALSE(shows(signIn, "navigation bar \"一周会议\"")) << signIn;

    std::string home = road.after("tap login");
    EXPECT_FALSE(shows(home, "placeholder \"账号\"")) << home;
    EXPECT_FALSE(shows(home, "secure field")) << home;
    EXPECT_TRUE(shows(home, "navigation bar \"岚溪资讯\"")) << home;

    std::string meetings = road.after("tap 会议", 2);
    EXPECT_TRUE(shows(meetings, "navigation bar \"一周会议\"")) << meetings;
    EXPECT_TRUE(shows(meetings, "tab \"会议\" (selected)")) << meetings;
}

TEST_F(MainRoad, TilesPushTheirScreensAndAttendanceOpensTheWebContainer) {
    Transcript road(first.output);
    std::string pushed = road.after("tap 通知公告");
    EXPECT_TRUE(shows(pushed, "navigation bar \"通知公告\"")) << pushed;
    EXPECT_TRUE(shows(road.after("back"), "navigation bar \"岚溪资讯\"")) << road.after("back");

    std::string web = road.after("tap 移动考勤");
    EXPECT_TRUE(shows(web, "navigation bar \"移动考勤\"")) << web;
    EXPECT_TRUE(shows(web, "web \"")) << web;
    EXPECT_FALSE(shows(web, "(failed)")) << web;

    EXPECT_TRUE(shows(road.after("screenshot attendance.png"), "saved attendance.png"));
    std::ifstream picture(home->path() / "attendance.png", std::ios::binary);
    std::string signature(8, '\0');
    picture.read(signature.data(), 8);
    EXPECT_EQ(signature, "\x89PNG\r\n\x1a\n");
}

TEST_F(MainRoad, BackInTheWebContainerWalksThePageHistoryBeforeLeaving) {
    Transcript road(first.output);
    std::string records = road.after("tap 签到记录");
    EXPECT_TRUE(shows(records, "web \"签到记录\"")) << records;
    EXPECT_TRUE(shows(records, "navigation bar \"移动考勤\"")) << records;

    std::string firstBack = road.after("back", 2);
    EXPECT_TRUE(shows(firstBack, "web \"移动考勤\"")) << firstBack;
    std::string secondBack = road.after("back", 3);
    EXPECT_TRUE(shows(secondBack, "navigation bar \"岚溪资讯\"")) << secondBack;
}

TEST_F(MainRoad, TheNextLaunchSkipsTheIntroductionAndKeepsTheSignIn) {
    EXPECT_EQ(second.status, 0) << second.output;
    Transcript again(second.output);
    EXPECT_FALSE(shows(again.launch(), "image \"6-")) << again.launch();
    EXPECT_TRUE(shows(again.launch(), "navigation bar \"岚溪资讯\"")) << again.launch();
    EXPECT_FALSE(shows(again.launch(), "swipe")) << again.launch();
    EXPECT_TRUE(shows(again.launch(), "help lists the commands.")) << again.launch();
    std::string meetings = again.after("tap 会议");
    EXPECT_TRUE(shows(meetings, "navigation bar \"一周会议\"")) << meetings;
}

}  // namespace
