// What a newcomer meets in the front end, through the real campus program on
// tests/app/newcomer_names.campus: picture-only buttons read and tap by name, and a wrong name
// given to `share edit` or `open index` is answered with the names they take.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class NewcomerNamesRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/newcomer_names.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    // The error line the command printed, or "" when it printed none.
    static std::string errorAfter(const std::string& command) {
        const std::string screen = Transcript(run.output).after(command);
        const auto at = screen.find("error: ");
        return at == std::string::npos ? "" : screen.substr(at, screen.find('\n', at) - at);
    }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(NewcomerNamesRoad, PictureOnlyButtonsAreNamedAndTappedByTheirNames) {
    Transcript road(run.output);
    const std::string signIn = road.after("tap 迎新统计");
    EXPECT_TRUE(shows(signIn, "close  button \"close\"")) << signIn;
    const std::string statistics = road.after("tap 迎新统计", 2);
    EXPECT_TRUE(shows(statistics, "navigation bar \"迎新统计\"")) << statistics;
    EXPECT_TRUE(shows(statistics, "button \"back\"")) << statistics;
    EXPECT_TRUE(shows(statistics, "button \"refresh\"")) << statistics;
    EXPECT_FALSE(shows(statistics, "button \"\"")) << statistics;

    EXPECT_EQ(errorAfter("tap refresh"), "");
    EXPECT_TRUE(shows(road.after("tap refresh"), "navigation bar \"迎新统计\""));
    EXPECT_EQ(errorAfter("tap back"), "");
    const std::string home = road.after("tap back");
    EXPECT_TRUE(shows(home, "navigation bar \"岚溪资讯\"")) << home;
    EXPECT_TRUE(shows(home, "menu  button \"menu\"")) << home;

    EXPECT_EQ(errorAfter("tap menu"), "");
    EXPECT_TRUE(shows(road.after("tap menu"), "side-menu-cover")) << road.after("tap menu");

    const std::string page = road.after("tap 移动考勤");
    EXPECT_TRUE(shows(page, "back  button \"back\"")) << page;
    EXPECT_TRUE(shows(road.after("tap back", 2), "navigation bar \"岚溪资讯\""))
        << road.after("tap back", 2);
}

TEST_F(NewcomerNamesRoad, AWrongSharePlatformGetsThePlatformsTheEditScreenTakes) {
    const std::string refused = errorAfter("share edit nosuch");
    EXPECT_TRUE(shows(refused, "no platform \"nosuch\"")) << refused;
    for (const char* platform : {"qzone", "tencent", "renren", "douban"}) {
        EXPECT_TRUE(shows(refused, platform)) << platform << "\n" << refused;
    }
}

TEST_F(NewcomerNamesRoad, OpenIndexListsTheOrganisationsIdsWhenItsIdIsMissingOrUnknown) {
    for (const char* command : {"open index", "open index 9999"}) {
        const std::string refused = errorAfter(command);
        EXPECT_TRUE(shows(refused, "1001 校领导")) << command << "\n" << refused;
        EXPECT_TRUE(shows(refused, "1003 教务处")) << command << "\n" << refused;
        EXPECT_TRUE(shows(refused, "1008 图书馆")) << command << "\n" << refused;
    }
    EXPECT_TRUE(shows(errorAfter("open index 9999"), "\"9999\""));
    // A listed id opens the organisation's indexed members.
    EXPECT_EQ(errorAfter("open index 1003"), "");
    EXPECT_TRUE(shows(Transcript(run.output).after("open index 1003"), "index # C D F"));
}

TEST_F(NewcomerNamesRoad, NothingElseOnTheWayFails) {
    EXPECT_EQ(run.status, 1) << "the three refusals, and only they, fail";
    int errors = 0;
    for (auto at = run.output.find("error: "); at != std::string::npos;
         at = run.output.find("error: ", at + 1))
        ++errors;
    EXPECT_EQ(errors, 3) << run.output;
}

}  // namespace
