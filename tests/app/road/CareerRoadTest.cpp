// Career services and the enrolment statistics through the real client: runs the campus
// program on tests/app/career_road.campus with a fresh data directory and checks the screens
// it printed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class CareerRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/career_road.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(CareerRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(run, home->path()));
}

TEST_F(CareerRoad, TheHubPagesItsListsAndEachRowOpensItsDetail) {
    Transcript road(run.output);
    std::string hub = road.after("tap 就业服务", 2);
    EXPECT_TRUE(shows(hub, "navigation bar \"就业服务\"")) << hub;
    EXPECT_TRUE(shows(hub, "button \" 招聘信息 \" (selected)")) << hub;
    EXPECT_FALSE(shows(hub, "r7  cell")) << hub;
    EXPECT_TRUE(shows(road.after("pull up s3"), "r7  cell > \"禾木+创意设计有限公司\""))
        << road.after("pull up s3");

    std::string employer = road.after("tap 南屿信息&数据服务有限公司");
    EXPECT_TRUE(shows(employer, "navigation bar \"招聘信息\"")) << employer;
    EXPECT_TRUE(shows(employer, "\"数据分析师\"")) << employer;
    EXPECT_TRUE(shows(road.after("tap expand"), "collapse  button")) << road.after("tap expand");

    EXPECT_TRUE(shows(road.after("tap r1"), "navigation bar \"实习信息\"")) << road.after("tap r1");
    EXPECT_TRUE(shows(road.after("tap r3"), "navigation bar \"招聘会\"")) << road.after("tap r3");
    EXPECT_TRUE(shows(road.after("tap r0"), "navigation bar \"宣讲会\"")) << road.after("tap r0");
}

TEST_F(CareerRoad, TheStatisticsDrillDownFromCollegeToClass) {
    Transcript road(run.output);
    std::string colleges = road.after("tap 迎新统计");
    EXPECT_TRUE(shows(colleges, "navigation bar \"迎新统计\"")) << colleges;
    EXPECT_TRUE(shows(colleges, "cell \"信息工程学院\" \"288\"")) << colleges;
    std::string specialties = road.after("tap 信息工程学院");
    EXPECT_TRUE(shows(specialties, "label \"录取总人数：288\"")) << specialties;
    EXPECT_TRUE(shows(specialties, "cell \"计算机科学与技术\" \"131\"")) << specialties;
    std::string classes = road.after("tap 计算机科学与技术");
    EXPECT_TRUE(shows(classes, "cell \"计科2401班\" \"43\"")) << classes;
    std::string back = road.after("back", 7);
    EXPECT_TRUE(shows(back, "cell \"信息工程学院\" \"288\"")) << back;
}

}  // namespace
