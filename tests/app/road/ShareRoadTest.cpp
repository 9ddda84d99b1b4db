// The share SDK's own screens through the real client: runs the campus program on
// tests/app/share_road.campus with a fresh data directory: the sign-in page of the share
// service signs in to "qzone" and leads to the edit screen, where a share with a link is sent.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class ShareRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/share_road.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(ShareRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path()));
}

TEST_F(ShareRoad, TheSignInPageLeadsToTheEditScreenWhichCountsTheLinkAndCloses) {
    Transcript road(run.output);
    EXPECT_TRUE(shows(road.after("share signin qzone"), "navigation bar \"授权\""));
    EXPECT_TRUE(shows(road.after("screenshot share-signin.png"), "web \"账号登录\""));
    EXPECT_TRUE(shows(road.after("settle", 4), "navigation bar \"分享至QQ空间\"")) << run.output;
    std::string typed =
        road.after("type shareText \"校园开放日 http://open.lanxi-campus.test/day 欢迎参加\"");
    // The page's share text "校园新闻" (4) stands before what was typed.
    EXPECT_TRUE(shows(typed, "shareCount  label \"115\"")) << typed;
    EXPECT_FALSE(shows(road.after("tap share-post"), "shareText")) << road.after("tap share-post");
}

}  // namespace
