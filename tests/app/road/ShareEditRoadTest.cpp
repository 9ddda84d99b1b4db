// The share SDK's edit screen through the real client: runs the campus program on
// tests/app/share_edit.campus with a fresh data directory: the shared page's picture shows,
// its delete sheet removes it, the follow offer switches, the account panel takes the
// keyboard's place, and the share is sent.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class ShareEditRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/share_edit.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(ShareEditRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path()));
}

TEST_F(ShareEditRoad, ThePagesPictureIsDeletedThroughItsSheet) {
    Transcript road(run.output);
    const std::string opened = road.after("settle", 4);
    EXPECT_TRUE(shows(opened, "navigation bar \"分享至QQ空间\"")) << opened;
    EXPECT_TRUE(shows(opened, "sharePicture  image")) << opened;
    EXPECT_TRUE(shows(opened, "shareText  text view \"校园新闻\" (editing)")) << opened;
    EXPECT_TRUE(shows(opened, "label \"关注官方微博\"")) << opened;
    EXPECT_TRUE(shows(road.after("tap shareDelete"), "action sheet [删除图片] [取消]"));
    const std::string deleted = road.after("alert 删除图片");
    EXPECT_FALSE(shows(deleted, "sharePicture")) << deleted;
    EXPECT_FALSE(shows(deleted, "shareDelete")) << deleted;
}

TEST_F(ShareEditRoad, TheAccountPanelTakesTheKeyboardsPlaceAndTheShareCloses) {
    Transcript road(run.output);
    // Under the keyboard the panel cannot be seen; lowered, it shows the platform's account.
    EXPECT_FALSE(shows(road.after("settle", 4), "shareUserName"));
    const std::string panel = road.after("tap shareAccount");
    EXPECT_FALSE(shows(panel, "keyboard")) << panel;
    EXPECT_TRUE(shows(panel, "shareUserName  label \"兰溪同学\"")) << panel;
    EXPECT_TRUE(shows(panel, "label \"切换账号\"")) << panel;
    EXPECT_TRUE(shows(panel, "shareCount  label \"131\"")) << panel;
    EXPECT_FALSE(shows(road.after("tap share-post"), "shareText")) << road.after("tap share-post");
}

}  // namespace
