// The main road through the real client, end to end: runs the campus program on
// tests/app/main_road.campus against its own demo services with a fresh data directory, then
// launches it again on the same directory, and checks the screens it printed.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TempHome.h"

namespace {

struct ProgramRun {
    std::string output;
    int status = -1;
};

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// The program's standard output and exit status. It runs in `directory` (where a script's
// screenshots land), without CAMPUS_SERVICES so that it starts its own demo services; its
// log lines (standard error) are left out of the screens.
ProgramRun runCampus(const std::filesystem::path& directory, const std::filesystem::path& script,
                     const std::filesystem::path& dataDir) {
    std::string command = "cd " + shellQuoted(directory.string()) + " && env -u CAMPUS_SERVICES " +
                          shellQuoted(CAMPUS_PROGRAM) + " --script " +
                          shellQuoted(script.string()) + " --data-dir " +
                          shellQuoted(dataDir.string()) + " 2>/dev/null";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return run;
    }
    std::array<char, 4096> buffer{};
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.output.append(buffer.data(), got);
    }
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The printed screens: the first one after the launch, then one per command, each headed by
// the command's "> " line.
class Transcript {
public:
    explicit Transcript(const std::string& output) {
        std::istringstream lines(output);
        std::string line;
        m_screens.push_back({"(launch)", ""});
        while (std::getline(lines, line)) {
            if (line.rfind("> ", 0) == 0) {
                m_screens.push_back({line.substr(2), ""});
            } else {
                m_screens.back().text += line + "\n";
            }
        }
    }

    std::string launch() const { return m_screens.front().text; }

    // What the n-th run of the command printed (n from 1), or a note that it did not run.
    std::string after(const std::string& command, int n = 1) const {
        for (const auto& screen : m_screens) {
            if (screen.command == command && --n == 0) {
                return screen.text;
            }
        }
        return "(the command \"" + command + "\" did not run)";
    }

private:
    struct Screen {
        std::string command;
        std::string text;
    };
    std::vector<Screen> m_screens;
};

bool shows(const std::string& screen, const std::string& text) {
    return screen.find(text) != std::string::npos;
}

class MainRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<testsupport::TempHome>();
        std::filesystem::path dataDir = home->path() / "state";
        first = runCampus(home->path(), MAIN_ROAD_SCRIPT, dataDir);

        std::filesystem::path again = home->path() / "again.campus";
        std::ofstream(again) << "tap 会议\n";
        second = runCampus(home->path(), again, dataDir);

        std::filesystem::path wrong = home->path() / "wrong.campus";
        std::ofstream(wrong) << "tap 不存在的按钮\nback\n";
        failing = runCampus(home->path(), wrong, dataDir);
    }
    static void TearDownTestSuite() { home.reset(); }

    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline ProgramRun first;
    static inline ProgramRun second;
    static inline ProgramRun failing;
};

TEST_F(MainRoad, RunsToTheEndOnItsOwnDemoServicesWithoutAFailedCommand) {
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_EQ(first.output.rfind("demo services on http://127.0.0.1:", 0), 0u) << first.output;
    EXPECT_FALSE(shows(first.output, "error: ")) << first.output;
}

// So that CI notices a road that no longer leads where it did.
TEST_F(MainRoad, AFailedCommandFailsTheScriptButTheRestStillRuns) {
    EXPECT_EQ(failing.status, 1) << failing.output;
    Transcript wrong(failing.output);
    EXPECT_EQ(wrong.after("tap 不存在的按钮").rfind("error: nothing on screen shows", 0), 0u)
        << failing.output;
    EXPECT_TRUE(shows(failing.output, "> back\n")) << failing.output;
}

TEST_F(MainRoad, TheFirstLaunchShowsTheIntroductionThenTheNewsPageByPage) {
    Transcript road(first.output);
    EXPECT_TRUE(shows(road.launch(), "image \"6-1\" 375x667")) << road.launch();
    std::string home = road.after("swipe intro 3");
    EXPECT_FALSE(shows(home, "image \"6-1\"")) << home;
    EXPECT_TRUE(shows(home, "tab \"会议\"")) << home;
    EXPECT_TRUE(shows(home, "r0  cell \"我校召开2024年春季学期教学工作会议\" \"2024-04-16 09:30\""))
        << home;
    EXPECT_TRUE(shows(home, "item \"通知公告\"")) << home;

    std::string list = road.after("swipe news 2");
    EXPECT_TRUE(shows(list, "r10  cell \"学校召开党风廉政建设和反腐败工作会议\"")) << list;
}

TEST_F(MainRoad, TheMeetingTabPresentsTheSignInPageUntilTheTeacherSignsIn) {
    Transcript road(first.output);
    std::string signIn = road.after("tap 会议", 1);
    EXPECT_TRUE(shows(signIn, "field placeholder \"账号\"")) << signIn;
    EXPECT_TRUE(shows(signIn, "button \"登录\"")) << signIn;
    EXPECT_FALSE(shows(signIn, "navigation bar \"一周会议\"")) << signIn;

    std::string home = road.after("tap login");
    EXPECT_FALSE(shows(home, "placeholder \"账号\"")) << home;
    EXPECT_FALSE(shows(home, "secure field")) << home;
    EXPECT_TRUE(shows(home, "navigation bar \"岚溪资讯\"")) << home;

    std::string meetings = road.after("tap 会议", 2);
    EXPECT_TRUE(shows(meetings, "navigation bar \"一周会议\"")) << meetings;
    EXPECT_TRUE(shows(meetings, "tab \"会议\" (selected)")) << meetings;
}

TEST_F(MainRoad, TilesPushTheirScreensAndAttendanceOpensTheWebContainer) {
    Transcript road(first.output);
    std::string pushed = road.after("tap 通知公告");
    EXPECT_TRUE(shows(pushed, "navigation bar \"通知公告\"")) << pushed;
    EXPECT_TRUE(shows(road.after("back"), "navigation bar \"岚溪资讯\"")) << road.after("back");

    std::string web = road.after("tap 移动考勤");
    EXPECT_TRUE(shows(web, "navigation bar \"移动考勤\"")) << web;
    EXPECT_TRUE(shows(web, "web \"")) << web;
    EXPECT_FALSE(shows(web, "(failed)")) << web;

    EXPECT_TRUE(shows(road.after("screenshot attendance.png"), "saved attendance.png"));
    std::ifstream picture(home->path() / "attendance.png", std::ios::binary);
    std::string signature(8, '\0');
    picture.read(signature.data(), 8);
    EXPECT_EQ(signature, "\x89PNG\r\n\x1a\n");
}

TEST_F(MainRoad, TheNextLaunchSkipsTheIntroductionAndKeepsTheSignIn) {
    EXPECT_EQ(second.status, 0) << second.output;
    Transcript again(second.output);
    EXPECT_FALSE(shows(again.launch(), "image \"6-")) << again.launch();
    EXPECT_TRUE(shows(again.launch(), "navigation bar \"岚溪资讯\"")) << again.launch();
    std::string meetings = again.after("tap 会议");
    EXPECT_TRUE(shows(meetings, "navigation bar \"一周会议\"")) << meetings;
}

}  // namespace
