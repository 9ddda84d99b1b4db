// The share SDK's list of share platforms through the real client: runs the campus program on
// tests/app/share_list.campus with a fresh data directory: the list shows the registered
// platforms, a row opens the platform's sign-in page over the list, and the list closes; a
// sign-in from the list hands over to the edit screen under one navigation bar.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"
#include "tests/support/TextCount.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;
using testsupport::countOf;

class ShareListRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/share_list.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(ShareListRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path(), {"share-list.png"}));
}

TEST_F(ShareListRoad, TheListShowsTheRegisteredPlatformsAndARowOpensItsSignIn) {
    Transcript road(run.output);
    const std::string list = road.after("share list");
    EXPECT_TRUE(shows(list, "navigation bar \"分享至\"")) << list;
    EXPECT_TRUE(shows(list, "share-close")) << list;
    EXPECT_TRUE(shows(list, "r0  cell \"腾讯微博\"")) << list;
    EXPECT_TRUE(shows(list, "r7  cell \"Twitter\"")) << list;
    const std::string signIn = road.after("settle", 3);
    EXPECT_TRUE(shows(signIn, "navigation bar \"授权\"")) << signIn;
    EXPECT_TRUE(shows(signIn, "oauth-back  button")) << signIn;
    EXPECT_TRUE(shows(signIn, "登录 tencent")) << signIn;
    EXPECT_TRUE(shows(road.after("back"), "r0  cell \"腾讯微博\"")) << road.after("back");
    const std::string closed = road.after("settle", 4);
    EXPECT_FALSE(shows(closed, "share-list")) << closed;
    EXPECT_TRUE(shows(closed, "navigation bar \"移动考勤\"")) << closed;
}

TEST_F(ShareListRoad, SigningInFromTheListHandsOverToTheEditScreenUnderOneBar) {
    Transcript road(run.output);
    const std::string edit = road.after("settle", 6);
    EXPECT_TRUE(shows(edit, "navigation bar \"分享至腾讯微博\"")) << edit;
    EXPECT_EQ(countOf(edit, "navigation bar"), 1) << edit;
    EXPECT_FALSE(shows(edit, "授权")) << edit;
    EXPECT_TRUE(shows(edit, "share-post")) << edit;
    EXPECT_TRUE(std::filesystem::exists(home->path() / "share-list-edit.png"));
    const std::string closed = road.after("settle", 7);
    EXPECT_EQ(countOf(closed, "navigation bar"), 1) << closed;
    EXPECT_TRUE(shows(closed, "navigation bar \"移动考勤\"")) << closed;
}

}  // namespace
