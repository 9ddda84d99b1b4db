// The tablet through the real client: runs `campus --device pad` on
// tests/app/tablet_road.campus with a fresh data directory: the client's phone screens stretch
// across the tablet, the camera's picker shows in a popover that a tap outside closes, the
// share SDK's screens show in their sheet, and the client stays upright, sheet and all, when
// the tablet is turned sideways.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class TabletRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/tablet_road.campus",
                                   home->path() / "state", {}, {"--device", "pad"});
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(TabletRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(
        run, home->path(),
        {"tablet-home.png", "tablet-popover.png", "tablet-share-sheet.png", "tablet-share-list.png",
         "tablet-share-edit.png", "tablet-share-edit-landscape.png", "tablet-landscape.png"}));
}

TEST_F(TabletRoad, TheClientStartsOnItsNewsWithoutIntroductionPages) {
    Transcript road(run.output);
    const std::string launch = road.launch();
    EXPECT_TRUE(shows(launch, "screen tablet 768x1024 portrait")) << launch;
    EXPECT_TRUE(shows(launch, "navigation bar \"岚溪资讯\"")) << launch;
    EXPECT_FALSE(shows(launch, "intro")) << launch;
}

TEST_F(TabletRoad, TheCamerasPickerShowsInAPopoverThatATapOutsideCloses) {
    Transcript road(run.output);
    const std::string popover = road.after("alert 拍照");
    EXPECT_TRUE(shows(popover, "popover-outside  popover backdrop \"相机\"")) << popover;
    EXPECT_TRUE(shows(popover, "button \"拍照\"")) << popover;
    EXPECT_FALSE(shows(road.after("drag 700 980 700 980"), "popover")) << "closed outside";
    EXPECT_FALSE(shows(road.after("tap 拍照"), "popover")) << "closed once the photo was taken";
}

TEST_F(TabletRoad, TheSharesScreensShowInTheirSheetOverTheUprightClient) {
    Transcript road(run.output);
    EXPECT_TRUE(shows(road.after("tap 分享"), "image 768x80"));
    const std::string list = road.after("share list");
    EXPECT_TRUE(shows(list, "form sheet")) << list;
    EXPECT_TRUE(shows(list, "navigation bar \"分享至\"")) << list;
    // The client stays on screen under the sheet.
    EXPECT_TRUE(shows(list, "navigation bar \"移动考勤\"")) << list;
    const std::string edit = road.after("settle", 7);
    EXPECT_TRUE(shows(edit, "navigation bar \"分享至QQ空间\"")) << edit;
    EXPECT_FALSE(shows(edit, "shareAccount")) << "the tablet's edit screen has no account panel";
    // The sheet leaves the decision to the client under it, which stays upright.
    const std::string turned = road.after("device rotate landscape-left");
    EXPECT_TRUE(shows(turned, "screen tablet 768x1024 portrait (device landscape-left)")) << turned;
    EXPECT_TRUE(shows(turned, "navigation bar \"分享至QQ空间\"")) << turned;
    EXPECT_FALSE(shows(road.after("tap share-post"), "shareText"));
}

TEST_F(TabletRoad, TheHomePageStaysUprightSidewaysAndTurnsUpsideDown) {
    Transcript road(run.output);
    const std::string home = road.after("back", 2);
    EXPECT_TRUE(shows(home, "screen tablet 768x1024 portrait (device landscape-left)")) << home;
    EXPECT_TRUE(shows(home, "navigation bar \"岚溪资讯\"")) << home;
    EXPECT_TRUE(
        shows(road.after("device rotate upside-down"), "screen tablet 768x1024 upside-down"))
        << "the upright layout serves the tablet held upside down";
    EXPECT_TRUE(shows(road.after("device rotate portrait"), "screen tablet 768x1024 portrait\n"));
}

}  // namespace
