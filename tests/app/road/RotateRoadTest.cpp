// The phone turned through the real client: runs the campus program on
// tests/app/rotate_road.campus with a fresh data directory: the home page and the share sheet
// turn with the phone, the share SDK's screens stay upright until the host lets them turn, and
// the edit screen sends a share from a landscape phone.

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
        {"rotated-home.png", "rotated-share-sheet.png", "rotated-share-edit.png"}));
}

TEST_F(RotateRoad, TheHomePageTurnsWithThePhoneButNotUpsideDown) {
    Transcript road(run.output);
    const std::string turned = road.after("device rotate landscape-left");
    EXPECT_TRUE(shows(turned, "screen 667x375 landscape-right")) << turned;
    EXPECT_TRUE(shows(turned, "navigation bar \"岚溪资讯\"")) << turned;
    const std::string upsideDown = road.after("device rotate upside-down");
    EXPECT_TRUE(shows(upsideDown, "screen 667x375 landscape-right")) << upsideDown;
    EXPECT_FALSE(shows(road.after("device rotate portrait"), "screen ")) << "upright again";
}

TEST_F(RotateRoad, TheShareSheetLaysItsGridAcrossTheTurnedScreen) {
    Transcript road(run.output);
    const std::string turned = road.after("device rotate landscape-left", 2);
    EXPECT_TRUE(shows(turned, "share sheet [qzone]")) << turned;
    EXPECT_TRUE(shows(turned, "image 667x80")) << turned;
    const std::string back = road.after("device rotate portrait", 2);
    EXPECT_TRUE(shows(back, "image 375x80")) << back;
    EXPECT_FALSE(shows(road.after("settle", 3), "share sheet")) << "a tap above it closes it";
}

TEST_F(RotateRoad, TheSdksScreensStayUprightUntilTheHostLetsThemTurn) {
    Transcript road(run.output);
    EXPECT_TRUE(shows(road.after("device rotate landscape-right"), "screen 667x375"));
    const std::string list = road.after("share list");
    EXPECT_TRUE(shows(list, "navigation bar \"分享至\"")) << list;
    EXPECT_FALSE(shows(list, "screen 667x375")) << "the list turned the screen upright";
    const std::string closed = road.after("settle", 4);
    EXPECT_TRUE(shows(closed, "screen 667x375 landscape-left")) << closed;

    const std::string signIn = road.after("device rotate landscape-left", 3);
    EXPECT_TRUE(shows(signIn, "screen 667x375 landscape-right")) << signIn;
    EXPECT_TRUE(shows(signIn, "navigation bar \"授权\"")) << signIn;
    const std::string edit = road.after("settle", 6);
    EXPECT_TRUE(shows(edit, "screen 667x375 landscape-right")) << edit;
    EXPECT_TRUE(shows(edit, "navigation bar \"分享至QQ空间\"")) << edit;
    const std::string sent = road.after("tap share-post");
    EXPECT_FALSE(shows(sent, "shareText")) << sent;
    EXPECT_TRUE(shows(sent, "screen 667x375 landscape-left")) << sent;
}

}  // namespace
