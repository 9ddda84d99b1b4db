// The share SDK's two looks through the real client: runs the campus program on
// tests/app/share_theme.campus with a fresh data directory: theme 0 gives the screens framed,
// titled bar buttons, theme 1 picture buttons, and each share's result shows as a toast.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class ShareThemeRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/share_theme.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(ShareThemeRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path(),
                                       {"share-theme0-edit.png", "share-theme0-list.png",
                                        "share-theme1-edit.png", "share-theme1-list.png"}));
}

TEST_F(ShareThemeRoad, ThemeZeroTitlesTheBarButtonsAndTheSentShareToasts) {
    Transcript road(run.output);
    const std::string signin = road.after("screenshot share-theme0-signin.png");
    EXPECT_TRUE(shows(signin, "share-close  button \"关 闭\"")) << signin;
    const std::string edit = road.after("screenshot share-theme0-edit.png");
    EXPECT_TRUE(shows(edit, "share-post  button \"发 布\"")) << edit;
    const std::string sent = road.after("screenshot share-theme0-sent.png");
    EXPECT_TRUE(shows(sent, "share-toast  [overlay text: 发送成功]")) << sent;
    EXPECT_FALSE(shows(sent, "shareText")) << sent;
}

TEST_F(ShareThemeRoad, ThemeOneShowsPictureButtons) {
    Transcript road(run.output);
    const std::string edit = road.after("screenshot share-theme1-edit.png");
    EXPECT_TRUE(shows(edit, "share-post  button \"\"")) << edit;
    EXPECT_TRUE(shows(edit, "share-close  button \"\"")) << edit;
    EXPECT_TRUE(shows(road.after("screenshot share-theme1-sent.png"), "[overlay text: 发送成功]"));
    const std::string list = road.after("screenshot share-theme1-list.png");
    EXPECT_TRUE(shows(list, "share-close  button \"\"")) << list;
}

}  // namespace
