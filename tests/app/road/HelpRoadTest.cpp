// What help tells a newcomer, followed as a newcomer follows it: the campus program is asked
// for its help, then run on the steps the help gives for going in and signing in, against its
// own demo services. Steps that do not sign in (a wrong sample password, a misnamed field)
// leave the sign-in page where the meetings should be.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

std::string trimmedOf(std::string text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(" .");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// The commands of the help line that starts with `lead`: its sentence up to a bracket or its
// end, cut at commas, each "then" dropped.
std::vector<std::string> stepsAfter(const std::string& help, const std::string& lead) {
    std::istringstream lines(help);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(lead, 0) != 0) {
            continue;
        }
        std::string sentence = line.substr(lead.size());
        sentence = sentence.substr(0, sentence.find(" ("));
        std::vector<std::string> steps;
        std::istringstream parts(sentence);
        std::string part;
        while (std::getline(parts, part, ',')) {
            part = trimmedOf(part);
            if (part.rfind("then ", 0) == 0) {
                part = trimmedOf(part.substr(5));
            }
            if (!part.empty()) {
                steps.push_back(part);
            }
        }
        return steps;
    }
    return {};
}

// Asks the program (run with the arguments) for its help, then follows the steps it gives for
// going in and signing in; the meetings must then open without another sign-in. Whether the
// help gave a step for going in is left in `wentIn`.
void followTheHelp(const std::vector<std::string>& arguments, bool& wentIn) {
    testsupport::TempHome home;
    const auto askScript = home.path() / "ask.campus";
    std::ofstream(askScript) << "help\n";
    const auto asked =
        campusrun::runCampus(home.path(), askScript, home.path() / "asked", {}, arguments);
    ASSERT_EQ(asked.status, 0) << asked.output;
    const std::string help = Transcript(asked.output).after("help");

    const auto goIn = stepsAfter(help, "To go in: ");
    const auto signIn = stepsAfter(help, "To sign in: ");
    wentIn = !goIn.empty();
    ASSERT_GE(signIn.size(), 3u) << help;
    std::string script;
    for (const auto& step : goIn) script += step + "\n";
    for (const auto& step : signIn) script += step + "\n";
    // Once signed in, the meeting tab switches to the meetings instead of asking again.
    script += "settle\ntap 会议\n";
    const auto followScript = home.path() / "follow.campus";
    std::ofstream(followScript) << script;

    const auto followed =
        campusrun::runCampus(home.path(), followScript, home.path() / "state", {}, arguments);
    ASSERT_TRUE(campusrun::ranToTheEnd(followed, home.path())) << help << script;
    Transcript road(followed.output);
    const std::string signInPage = road.after(signIn.front());
    EXPECT_TRUE(shows(signInPage, "secure field")) << script << signInPage;
    const std::string meetings = road.after("tap 会议", 2);
    EXPECT_TRUE(shows(meetings, "navigation bar \"一周会议\"")) << script << meetings;
    EXPECT_FALSE(shows(meetings, "secure field")) << script << meetings;
}

TEST(HelpRoad, TheStepsHelpGivesGoInAndSignInWithTheSampleAccount) {
    bool wentIn = false;
    followTheHelp({}, wentIn);
    EXPECT_TRUE(wentIn) << "the phone's introduction stands before the client";
}

TEST(HelpRoad, OnTheTabletTheStepsHelpGivesStartFromItsOwnFirstScreen) {
    // The tablet has no introduction to swipe through.
    bool wentIn = true;
    followTheHelp({"--device", "pad"}, wentIn);
    EXPECT_FALSE(wentIn);
}

}  // namespace
