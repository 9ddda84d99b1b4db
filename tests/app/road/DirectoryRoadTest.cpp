// The staff directory through the real client: runs the campus program on
// tests/app/directory_road.campus with a fresh data directory and checks the screens it printed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class DirectoryRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/directory_road.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(DirectoryRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path()));
}

TEST_F(DirectoryRoad, ATeacherSeesTheCategoriesAndAnOrganisationsMembers) {
    Transcript road(run.output);
    std::string categories = road.after("tap 通讯录", 2);
    EXPECT_TRUE(shows(categories, "cell > \"教务处\"")) << categories;
    EXPECT_TRUE(shows(categories, "cell > \"图书馆\"")) << categories;
    std::string members = road.after("tap 教务处");
    EXPECT_TRUE(shows(members, "cell \"黄文涛\"")) << members;
    EXPECT_TRUE(shows(road.after("tap 黄文涛"), "navigation bar \"联系人信息\""));
}

TEST_F(DirectoryRoad, AMembersRowsCallTextAndSaveTheirOwnNumbers) {
    Transcript road(run.output);
    std::string detail = road.after("tap 黄文涛");
    EXPECT_TRUE(shows(detail, "navigation bar \"联系人信息\"")) << detail;
    EXPECT_TRUE(shows(detail, "cell \"中国移动：13850094100\"")) << detail;
    EXPECT_TRUE(shows(road.after("alert 呼叫"), "opened tel://13850094100"))
        << road.after("alert 呼叫");
    // The composer opens ready for typing; 发送 waits for a body.
    const std::string composer = road.after("tap sms.cmcc");
    EXPECT_TRUE(shows(composer, "收件人：13850094100")) << composer;
    EXPECT_TRUE(shows(composer, "body  text view \"\" (editing)")) << composer;
    EXPECT_TRUE(shows(composer, "keyboard")) << composer;
    EXPECT_TRUE(shows(composer, "button \"发送\" (disabled)")) << composer;
    const std::string typed = road.after("type body 收到");
    EXPECT_FALSE(shows(typed, "(disabled)")) << typed;
    EXPECT_TRUE(shows(road.after("device messages send"), "发送成功"))
        << road.after("device messages send");
    EXPECT_TRUE(shows(road.after("alert 确定"), "添加成功")) << road.after("alert 确定");
}

TEST_F(DirectoryRoad, TheIndexedListJumpsByInitialAndOpensItsRows) {
    Transcript road(run.output);
    std::string opened = road.after("open index 1003");
    EXPECT_TRUE(shows(opened, "index # C D F")) << opened;
    EXPECT_TRUE(shows(opened, "label \"#\"")) << opened;
    std::string jumped = road.after("tap v1");
    EXPECT_TRUE(shows(jumped, "label \"M\"")) << jumped;
    EXPECT_TRUE(shows(jumped, "cell \"欧阳明\"")) << jumped;
    EXPECT_TRUE(shows(road.after("tap 欧阳明"), "navigation bar \"联系人信息\""));
}

TEST_F(DirectoryRoad, SearchShowsResultsAndThePictureWhenNobodyIsFound) {
    Transcript road(run.output);
    std::string found = road.after("tap search-button");
    EXPECT_TRUE(shows(found, "cell \"王建国\"")) << found;
    std::string none = road.after("tap search-button", 2);
    EXPECT_TRUE(shows(none, "image \"暂无内容\"")) << none;
    EXPECT_FALSE(shows(none, "results  table")) << none;
}

}  // namespace
