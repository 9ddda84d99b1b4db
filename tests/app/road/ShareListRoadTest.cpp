// The share SDK's list of share platforms through the real client: runs the campus program on
// tests/app/share_list.campus with a fresh data directory: the list shows the registered
// platforms, a row opens the platform's sign-in page over the list, and the list closes.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

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
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(shows(run.output, "error: ")) << run.output;
    EXPECT_TRUE(std::filesystem::exists(home->path() / "share-list.png"));
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

}  // namespace
