// The school's web pages through the real client, on a phone at 375x667 and 320x568 and on
// the tablet: runs the campus program on tests/app/web_pages_road.campus (web_pages_pad.campus
// on the tablet) and checks the pages it printed and the pictures it saved. Where the ink of
// each page lands is checked in tests/web (PageLayoutTest).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;

struct Device {
    const char* name;
    std::vector<std::string> arguments;
    const char* script;
};

class WebPagesRoad : public ::testing::TestWithParam<Device> {
protected:
    void SetUp() override {
        home = std::make_unique<testsupport::TempHome>();
        run = campusrun::runCampus(home->path(),
                                   std::string(CAMPUS_SCRIPTS_DIR "/") + GetParam().script,
                                   home->path() / "state", {}, GetParam().arguments);
    }

    std::unique_ptr<testsupport::TempHome> home;
    campusrun::ProgramRun run;
};

TEST_P(WebPagesRoad, EachPageShowsItsRunsAndAnswersTaps) {
    ASSERT_TRUE(campusrun::ranToTheEnd(
        run, home->path(),
        {"web-attendance.png", "web-attendance-checked.png", "web-questionnaire.png",
         "web-questionnaire-chosen.png", "web-mailbox.png", "web-notice.png"}));
    Transcript road(run.output);
    std::string attendance = road.after("tap 移动考勤");
    EXPECT_TRUE(shows(attendance, "text \"今日状态：\"")) << attendance;
    EXPECT_TRUE(shows(attendance, "#status \"未签到\"")) << attendance;
    EXPECT_TRUE(shows(road.after("tap 签到"), "#status \"已签到\"")) << road.after("tap 签到");

    std::string questionnaire = road.after("tap 问卷调查");
    for (const char* choice : {"button \"满意\"", "button \"一般\"", "button \"不满意\""}) {
        EXPECT_TRUE(shows(questionnaire, choice)) << questionnaire;
    }
    EXPECT_TRUE(shows(road.after("tap 一般"), "#answer \"一般\"")) << road.after("tap 一般");

    std::string mailbox = road.after("tap 电子邮箱");
    EXPECT_TRUE(shows(mailbox, "text \"账号：\"")) << mailbox;
    EXPECT_TRUE(shows(mailbox, "#type \"teacher\"")) << mailbox;

    std::string notice = road.after("tap 关于2024年清明节放假安排的通知");
    EXPECT_TRUE(shows(notice, "text \"各学院、各部门：\"")) << notice;
}

INSTANTIATE_TEST_SUITE_P(
    Devices, WebPagesRoad,
    ::testing::Values(Device{"Phone", {}, "web_pages_road.campus"},
                      Device{"SmallPhone", {"--screen", "320x568"}, "web_pages_road.campus"},
                      Device{"Tablet", {"--device", "pad"}, "web_pages_pad.campus"}),
    [](const ::testing::TestParamInfo<Device>& info) { return std::string(info.param.name); });

}  // namespace
