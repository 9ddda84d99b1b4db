// Idle screens through the real client: runs the campus program on
// tests/app/idle_display.campus with a fresh data directory and reads the display count that
// a window redraws by, before and after each screen stands idle.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

class IdleDisplayRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/idle_display.campus",
                                   home->path() / "state");
    }
    static void TearDownTestSuite() { home.reset(); }

    // The count the n-th `display` printed.
    static std::string count(int n) {
        std::string printed = Transcript(run.output).after("display", n);
        return printed.rfind("display changes ", 0) == 0 ? printed : "(no count: " + printed + ")";
    }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(IdleDisplayRoad, EachScreenLeftAloneKeepsTheCountAndEachNewScreenMovesIt) {
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(shows(run.output, "error: ")) << run.output;
    Transcript road(run.output);
    ASSERT_TRUE(shows(road.after("tap 移动考勤"), "web ")) << road.after("tap 移动考勤");

    const char* screens[] = {"home page", "signed in", "notices", "attendance page"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(screens[i]);
        EXPECT_EQ(count(2 * i + 1), count(2 * i + 2)) << run.output;
        if (i > 0) {
            EXPECT_NE(count(2 * i), count(2 * i + 1));
        }
    }
}

}  // namespace
