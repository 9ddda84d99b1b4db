// The share SDK's platform sign-in page through the real client: runs the campus program on
// tests/app/share_signin.campus with a fresh data directory: the page is closed once, signs in
// once (going on to the edit screen, back from which it closes), and once meets the platform's
// account site down, whose alert closes it.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class ShareSigninRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/share_signin.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(ShareSigninRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path()));
}

TEST_F(ShareSigninRoad, TheCloseButtonLeavesThePageForTheScreenBelow) {
    Transcript road(run.output);
    std::string page = road.after("share signin qzone");
    EXPECT_TRUE(shows(page, "navigation bar \"授权\"")) << page;
    EXPECT_TRUE(shows(page, "share-close  button")) << page;
    EXPECT_TRUE(shows(page, "web \"账号登录\"")) << page;
    EXPECT_FALSE(shows(page, "正在连接授权页面")) << page;  // loaded: the mask is gone
    EXPECT_TRUE(shows(road.after("tap share-close"), "navigation bar \"移动考勤\""));
}

TEST_F(ShareSigninRoad, SigningInShowsTheMaskThenTheEditScreenAndBackClosesThePage) {
    Transcript road(run.output);
    std::string signing = road.after("tap 授权并登录");
    EXPECT_TRUE(shows(signing, "label \"正在连接授权页面，请稍等...\"")) << signing;
    EXPECT_TRUE(shows(signing, "activity indicator (spinning)")) << signing;
    EXPECT_TRUE(shows(road.after("settle", 4), "navigation bar \"分享至QQ空间\"")) << run.output;
    EXPECT_TRUE(shows(road.after("back"), "navigation bar \"移动考勤\"")) << road.after("back");
}

TEST_F(ShareSigninRoad, TheAccountSiteDownEndsInTheNetworkAlertWhoseButtonClosesThePage) {
    Transcript road(run.output);
    std::string failed = road.after("tap 其他账号登录");
    EXPECT_TRUE(shows(failed, "alert \"温馨提示\" \"网络不给力\" [好]")) << failed;
    std::string closed = road.after("alert 好");
    EXPECT_TRUE(shows(closed, "navigation bar \"移动考勤\"")) << closed;
    EXPECT_FALSE(shows(closed, "温馨提示")) << closed;
}

}  // namespace
