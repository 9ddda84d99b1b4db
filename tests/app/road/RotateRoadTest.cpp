// The phone turned through the real client: runs the campus program on
// tests/app/rotate_road.campus with a fresh data directory: the client's own screens stay
// upright on a turned phone, so the user signs in and reads the notices; the share SDK's screens
// turn once the host lets them and the edit screen sends a share from a landscape phone; the
// location SDK's demonstration map turns; the client is upright again when they close.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class RotateRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/rotate_road.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(RotateRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(
        run, home->path(),
        {"rotated-intro.png", "rotated-signin.png", "rotated-home.png", "rotated-notices.png",
         "rotated-notice.png", "rotated-share-sheet.png", "rotated-share-edit.png",
         "rotated-locationdemo.png"}));
}

TEST_F(RotateRoad, TheIntroductionStaysUprightOverTheTabs) {
    Transcript road(run.output);
    const std::string turned = road.after("device rotate landscape-left");
    EXPECT_TRUE(shows(turned, "screen 375x667 portrait (device landscape-left)")) << turned;
    EXPECT_TRUE(shows(turned, "image \"6-1\" 375x667")) << turned;
    // A tap where the settings tab lies reaches the introduction, not the tab.
    const std::string tapped = road.after("drag 330 645 330 645");
    EXPECT_TRUE(shows(tapped, "intro  scroll view")) << tapped;
    EXPECT_FALSE(shows(tapped, "navigation bar")) << tapped;
}

TEST_F(RotateRoad, ATeacherSignsInAndReadsTheNoticesWithThePhoneTurned) {
    Transcript road(run.output);
    const std::string password = road.after("type password teacher123");
    EXPECT_TRUE(shows(password, "screen 375x667 portrait (device landscape-left)")) << password;
    EXPECT_TRUE(shows(password, "password  secure field")) << password;
    const std::string filled = road.after("return");
    EXPECT_TRUE(shows(filled, "login  button \"登录\"")) << filled;
    const std::string signedIn = road.after("settle");
    EXPECT_TRUE(shows(signedIn, "navigation bar \"岚溪资讯\"")) << signedIn;
    EXPECT_TRUE(shows(signedIn, "(device landscape-left)")) << signedIn;
    const std::string notices = road.after("settle", 2);
    EXPECT_TRUE(shows(notices, "navigation bar \"通知公告\"")) << notices;
    EXPECT_TRUE(shows(notices, "关于2024年清明节放假安排的通知")) << notices;
    const std::string notice = road.after("settle", 3);
    EXPECT_TRUE(shows(notice, "navigation bar \"日常通知\"")) << notice;
    EXPECT_TRUE(shows(notice, "screen 375x667 portrait (device landscape-left)")) << notice;
    EXPECT_TRUE(shows(road.after("device rotate upside-down"),
                      "screen 375x667 portrait (device upside-down)"));
    EXPECT_FALSE(shows(road.after("device rotate portrait"), "screen ")) << "upright again";
}

TEST_F(RotateRoad, TheShareSheetRisesOverTheUprightClient) {
    Transcript road(run.output);
    const std::string turned = road.after("device rotate landscape-left", 2);
    EXPECT_TRUE(shows(turned, "screen 375x667 portrait (device landscape-left)")) << turned;
    EXPECT_TRUE(shows(turned, "share sheet [qzone]")) << turned;
    EXPECT_TRUE(shows(turned, "image 375x80")) << turned;
    EXPECT_FALSE(shows(road.after("settle", 5), "share sheet")) << "a tap above it closes it";
}

TEST_F(RotateRoad, TheSdksScreensTurnOnlyWhenTheHostLetsThemAndTheClientTurnsBackUpright) {
    Transcript road(run.output);
    const std::string list = road.after("share list");
    EXPECT_TRUE(shows(list, "navigation bar \"分享至\"")) << list;
    EXPECT_TRUE(shows(list, "screen 375x667 portrait (device landscape-right)")) << list;

    // Allowed to turn, the SDK's sign-in page takes the phone's orientation as it comes up.
    const std::string signIn = road.after("share signin qzone");
    EXPECT_TRUE(shows(signIn, "screen 667x375 landscape-left")) << signIn;
    EXPECT_TRUE(shows(signIn, "navigation bar \"授权\"")) << signIn;
    EXPECT_TRUE(
        shows(road.after("device rotate landscape-left", 3), "screen 667x375 landscape-right"));
    const std::string edit = road.after("tap 授权并登录");
    EXPECT_TRUE(shows(edit, "screen 667x375 landscape-right")) << edit;
    const std::string written = road.after("type shareText \"校园开放日 欢迎参加\"");
    EXPECT_TRUE(shows(written, "navigation bar \"分享至QQ空间\"")) << written;
    const std::string sent = road.after("tap share-post");
    EXPECT_FALSE(shows(sent, "shareText")) << sent;
    EXPECT_TRUE(shows(sent, "screen 375x667 portrait (device landscape-right)")) << sent;
}

TEST_F(RotateRoad, TheLocationDemonstrationTurnsAndLeavesTheClientUpright) {
    Transcript road(run.output);
    const std::string demo = road.after("open locationdemo");
    EXPECT_TRUE(shows(demo, "screen 667x375 landscape-left")) << demo;
    EXPECT_TRUE(shows(demo, "startBtn  button \"开始定位\"")) << demo;
    const std::string left = road.after("back", 4);
    EXPECT_TRUE(shows(left, "screen 375x667 portrait (device landscape-right)")) << left;
    EXPECT_TRUE(shows(left, "navigation bar \"移动考勤\"")) << left;
}

}  // namespace
