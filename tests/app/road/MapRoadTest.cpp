// The map page through the real client: runs the campus program on tests/app/map_road.campus
// with a fresh data directory and checks the screens it printed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class MapRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/map_road.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(MapRoad, TheDemonstrationPageOpensTheMapWhichFollowsTheUser) {
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(shows(run.output, "error: ")) << run.output;
    Transcript road(run.output);
    std::string map = road.after("tap 打开地图");
    EXPECT_TRUE(shows(map, "navigation bar \"地址\"")) << map;
    EXPECT_TRUE(shows(map, "map, zoom 18, following the user; no user location yet")) << map;

    // The fix is shown converted: not at the coordinates the device reported.
    std::string located = road.after("device location 30.27 120.15");
    EXPECT_TRUE(shows(located, "user dot at 30.2")) << located;
    EXPECT_FALSE(shows(located, "user dot at 30.270000, 120.150000")) << located;
    EXPECT_TRUE(shows(road.after("screenshot map.png"), "saved map.png"));

    std::string after = road.after("device location 30.28 120.16");
    EXPECT_TRUE(shows(after, "w1  web \"网页接口演示\"")) << after;
    EXPECT_FALSE(shows(after, "map,")) << after;
}

TEST_F(MapRoad, ThePageAsksWhereThePhoneIsAndHasTheFixItAlreadyHad) {
    Transcript road(run.output);
    std::string top = road.after("drag 187 100 187 600", 4);
    EXPECT_TRUE(shows(top, R"(#reply "{"latitude":"30.280000","longitude":"120.160000",)")) << top;
    EXPECT_TRUE(shows(top, "#count \"1\"")) << top;
}

TEST_F(MapRoad, TheLocationDemonstrationLocatesOnlyWhenAskedAndStops) {
    Transcript road(run.output);
    std::string opened = road.after("open locationdemo");
    EXPECT_TRUE(shows(opened, "map, zoom 16")) << opened;
    EXPECT_TRUE(shows(opened, "自定义精度圈")) << opened;
    EXPECT_FALSE(shows(opened, "user dot")) << opened;
    // The phone knew where it was before the start: the dot shows as locating starts.
    std::string started = road.after("tap startBtn");
    EXPECT_TRUE(shows(started, "user dot at 30.2")) << started;

    std::string located = road.after("device location 30.27 120.15", 2);
    EXPECT_TRUE(shows(located, "user dot at 30.2")) << located;
    EXPECT_TRUE(shows(road.after("tap followingBtn"), "following the user;"));
    EXPECT_TRUE(shows(road.after("tap followHeadBtn"), "following the user's heading;"));
    EXPECT_TRUE(shows(road.after("screenshot locationdemo.png"), "saved locationdemo.png"));
    std::string stopped = road.after("tap stopBtn");
    EXPECT_FALSE(shows(stopped, "user dot")) << stopped;
}

}  // namespace
