// The school's notices, meetings, lectures and questionnaire through the real client: runs
// the campus program on tests/app/campus_info_road.campus with a fresh data directory and
// checks the screens it printed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class CampusInfoRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/campus_info_road.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(CampusInfoRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path()));
}

TEST_F(CampusInfoRoad, TheMeetingWeekChangesWithItsButtonsAndAMeetingOpens) {
    Transcript road(run.output);
    EXPECT_TRUE(shows(road.after("tap 会议", 2), "\"第8周\"")) << road.after("tap 会议", 2);
    EXPECT_TRUE(shows(road.after("tap prevweek"), "\"第7周\"")) << road.after("tap prevweek");
    EXPECT_TRUE(shows(road.after("tap today"), "\"第8周\"")) << road.after("tap today");
    std::string next = road.after("tap nextweek");
    EXPECT_TRUE(shows(next, "\"第9周\"")) << next;
    EXPECT_TRUE(shows(next, "cell > \"校长办公会\" \"2024-04-22\"")) << next;

    std::string detail = road.after("tap 校长办公会");
    EXPECT_TRUE(shows(detail, "navigation bar \"会议详情\"")) << detail;
    EXPECT_TRUE(shows(detail, "\"2024-04-22 周一\"")) << detail;
}

TEST_F(CampusInfoRoad, NewsAndNoticesOpenTheirDetailPages) {
    Transcript road(run.output);
    std::string news = road.after("tap 我校召开2024年春季学期教学工作会议");
    EXPECT_TRUE(shows(news, "navigation bar \"详细信息\"")) << news;
    EXPECT_TRUE(shows(news, "label \"2024-04-16 09:30\"")) << news;

    std::string channel = road.after("tap b4");
    EXPECT_TRUE(shows(channel, "button \" 公告公示 \" (selected)")) << channel;
    std::string notice = road.after("tap 2023年度国家奖学金拟推荐人选公示");
    EXPECT_TRUE(shows(notice, "navigation bar \"公示公告\"")) << notice;
    EXPECT_TRUE(shows(notice, "label \"2024-04-09\"")) << notice;
}

TEST_F(CampusInfoRoad, LecturesPageOnAndOpenTheirDetail) {
    Transcript road(run.output);
    std::string first = road.after("tap 学术讲座");
    EXPECT_TRUE(shows(first, "navigation bar \"学术讲座\"")) << first;
    EXPECT_FALSE(shows(first, "r10  cell")) << first;
    std::string more = road.after("swipe s1 1");
    EXPECT_TRUE(shows(more, "r14  cell > \"面向新工科")) << more;

    std::string detail = road.after("tap 面向新工科");
    EXPECT_TRUE(shows(detail, "label \"2024-02-28 14:30-16:30\"")) << detail;
    EXPECT_TRUE(shows(detail, "label \"周明远\"")) << detail;
}

TEST_F(CampusInfoRoad, TheQuestionnaireOpensItsPage) {
    Transcript road(run.output);
    std::string page = road.after("tap 问卷调查");
    EXPECT_TRUE(shows(page, "navigation bar \"问卷调查\"")) << page;
    EXPECT_TRUE(shows(page, "web \"问卷调查\"")) << page;
}

}  // namespace
