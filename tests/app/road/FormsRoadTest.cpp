// Forms on the school's web pages through the real client: runs the campus program on
// tests/app/forms_road.campus against fake services this test starts, and checks the screens
// it printed and what the services received.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeSchoolServices.h"
#include "fakes/RecordedRequest.h"
#include "tests/app/road/CampusRun.h"
#include "tests/support/TempHome.h"

namespace {

using campusrun::shows;
using campusrun::Transcript;
using Entries = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kQuestionnaire = "/function/interaction/questionnaire_add.jsp";
constexpr const char* kAnswers = "/function/interaction/questionnaire_save.jsp";
constexpr const char* kMailSignIn = "/mail/login.jsp";

class FormsRoad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = std::make_unique<fakes::FakeSchoolServices>();
        server->start();
        home = std::make_unique<testsupport::TempHome>();
        run =
            campusrun::runCampus(home->path(), CAMPUS_SCRIPTS_DIR "/forms_road.campus",
                                 home->path() / "state", {"CAMPUS_SERVICES=" + server->baseUrl()});
    }
    static void TearDownTestSuite() {
        server.reset();
        home.reset();
    }

    static std::vector<fakes::RecordedRequest> requests(const char* path,
                                                        const std::string& method) {
        auto all = server->requestsTo(path);
        std::erase_if(all, [&](const auto& request) { return request.method != method; });
        return all;
    }

    static Entries formOf(const fakes::RecordedRequest& request) {
        return fakes::decodeQuery("?" + request.body);
    }

    static inline std::unique_ptr<fakes::FakeSchoolServices> server;
    static inline std::unique_ptr<testsupport::TempHome> home;
    static inline campusrun::ProgramRun run;
};

TEST_F(FormsRoad, RunsToTheEndWithoutAFailedCommand) {
    EXPECT_TRUE(campusrun::ranToTheEnd(
        run, home->path(),
        {"forms-questionnaire.png", "forms-questionnaire-choices.png",
         "forms-questionnaire-typing.png", "forms-questionnaire-filled.png", "forms-signin.png",
         "forms-signin-kept.png", "forms-signin-next.png", "forms-signed-in.png"}));
}

TEST_F(FormsRoad, TheQuestionnaireIsAnsweredByTapsAndTyping) {
    Transcript road(run.output);
    const std::string first = road.after("tap 下一页");
    EXPECT_TRUE(shows(first, "radio network \"很好\"\n")) << first;
    EXPECT_TRUE(shows(first, "select grade \"请选择\"")) << first;
    EXPECT_TRUE(shows(first, "text area advice placeholder \"请写下您的意见与建议\"")) << first;
    // The account answering is shown, not to be changed, and is sent with the answers.
    EXPECT_TRUE(shows(first, "field userAccount \"20050031\" (read-only)")) << first;
    // The box's label is around it.
    EXPECT_TRUE(shows(first, "label \"愿意参加后续访谈\"")) << first;

    EXPECT_TRUE(shows(road.after("tap 很好"), "radio network \"很好\" (checked)"));
    // Radio buttons of one name exclude each other.
    const std::string other = road.after("tap 需改进");
    EXPECT_TRUE(shows(other, "radio network \"需改进\" (checked)")) << other;
    EXPECT_TRUE(shows(other, "radio network \"很好\"\n")) << other;

    // The select offers its choices on a sheet.
    const std::string sheet = road.after("tap grade");
    EXPECT_TRUE(shows(sheet, "\"研究生\"")) << sheet;
    EXPECT_TRUE(shows(sheet, "[请选择 ✓]")) << sheet;
    EXPECT_TRUE(shows(road.after("tap 大二"), "select grade \"大二\""));

    const std::string ticked = road.after("tap 愿意参加后续访谈");
    EXPECT_TRUE(shows(ticked, "checkbox interview \"愿意\" (checked)")) << ticked;

    // The text area's keyboard carries the form bar: the select before it is a step back, as
    // the phone's form bar stops at selects; nothing follows it.
    const std::string typing = road.after("type advice \"食堂饭菜可口 & 价格=合理+实惠\"");
    EXPECT_TRUE(shows(typing, "text area advice \"食堂饭菜可口 & 价格=合理+实惠\" (editing)"))
        << typing;
    EXPECT_TRUE(shows(typing,
                      "keyboard\n  button \"上一项\"\n  button \"下一项\" "
                      "(disabled)\n  button \"完成\"\n"))
        << typing;
    // 完成 puts it away, the answer kept, and the button under it can be reached.
    const std::string done = road.after("tap 完成");
    EXPECT_TRUE(shows(done, "text area advice \"食堂饭菜可口 & 价格=合理+实惠\"\n")) << done;
    EXPECT_FALSE(shows(done, "keyboard")) << done;
    EXPECT_TRUE(shows(done, "button \"提交问卷\"")) << done;
    EXPECT_FALSE(shows(road.after("tap 提交问卷"), "error:")) << road.after("tap 提交问卷");
}

TEST_F(FormsRoad, TheServerReceivesEveryAnswerIntact) {
    const auto sent = requests(kAnswers, "POST");
    ASSERT_EQ(sent.size(), 1u) << run.output;
    const Entries expected = {{"userAccount", "20050031"},
                              {"network", "需改进"},
                              {"grade", "大二"},
                              {"interview", "愿意"},
                              {"advice", "食堂饭菜可口 & 价格=合理+实惠"}};
    EXPECT_EQ(formOf(sent[0]), expected);
    EXPECT_EQ(sent[0].header("Content-Type").value_or(""), "application/x-www-form-urlencoded");
    for (const char* escaped : {"%26", "%3D", "%2B"}) {
        EXPECT_NE(sent[0].body.find(escaped), std::string::npos) << sent[0].body;
    }
}

TEST_F(FormsRoad, TheSentinelAfterTheAnswersStartsAFreshQuestionnaire) {
    Transcript road(run.output);
    const std::string after = road.after("settle", 2);
    EXPECT_TRUE(shows(after, "web \"问卷调查\"")) << after;
    EXPECT_TRUE(shows(after, "button \"满意\"")) << after;
    EXPECT_FALSE(shows(after, "网络错误")) << after;
    // The first page, the last, and the fresh first page, each for the signed-in account.
    const auto pages = requests(kQuestionnaire, "GET");
    ASSERT_EQ(pages.size(), 3u) << run.output;
    EXPECT_EQ(pages[2].target,
              std::string(kQuestionnaire) + "?confferenceId=&userAccount=20050031");
}

TEST_F(FormsRoad, TheSignInFormGoesWithReturnOnceItsScriptLetsIt) {
    Transcript road(run.output);
    // Without a password the page's script keeps the form from going.
    const std::string kept = road.after("return", 2);
    EXPECT_TRUE(shows(kept, "#hint \"请输入密码\"")) << kept;
    EXPECT_TRUE(shows(kept, "field account \"lin.xl@lanxi\"")) << kept;
    // The form bar's 下一项 goes on from the address to the password.
    const std::string next = road.after("tap 下一项");
    EXPECT_TRUE(shows(next, "secure field password placeholder \"密码\" (editing)")) << next;
    EXPECT_TRUE(shows(next, "field account \"lin.xl@lanxi\"\n")) << next;
    // An address is typed on the keyboard with "@" and "." at hand.
    EXPECT_TRUE(shows(road.after("type account \"lin.xl@lanxi\""), "keyboard (email)"))
        << road.after("type account \"lin.xl@lanxi\"");

    const auto signIns = requests(kMailSignIn, "POST");
    ASSERT_EQ(signIns.size(), 1u) << run.output;
    const Entries expected = {{"account", "lin.xl@lanxi"}, {"password", "pa&ss=+1"}};
    EXPECT_EQ(formOf(signIns[0]), expected);
    const std::string signedIn = road.after("settle", 3);
    EXPECT_TRUE(shows(signedIn, "#user \"lin.xl@lanxi\"")) << signedIn;
}

// The tablet offers a select's choices in a popover beside it.
TEST(FormsPadRoad, TheChoicesShowBesideTheSelectAndTheAnswersAreSent) {
    fakes::FakeSchoolServices server;
    server.start();
    testsupport::TempHome home;
    const campusrun::ProgramRun pad = campusrun::runCampus(
        home.path(), CAMPUS_SCRIPTS_DIR "/forms_pad.campus", home.path() / "state",
        {"CAMPUS_SERVICES=" + server.baseUrl()}, {"--device", "pad"});
    ASSERT_TRUE(campusrun::ranToTheEnd(
        pad, home.path(),
        {"forms-questionnaire-choices.png", "forms-questionnaire-typing.png",
         "forms-questionnaire-filled.png", "forms-questionnaire-fresh.png"}));
    Transcript road(pad.output);
    const std::string choices = road.after("tap grade");
    EXPECT_TRUE(shows(choices, "popover")) << choices;
    EXPECT_TRUE(shows(choices, "button \"研究生\"")) << choices;
    const std::string chosen = road.after("tap 大二");
    EXPECT_TRUE(shows(chosen, "select grade \"大二\"")) << chosen;
    EXPECT_FALSE(shows(chosen, "popover")) << chosen;

    auto sent = server.requestsTo(kAnswers);
    ASSERT_EQ(sent.size(), 1u) << pad.output;
    const Entries expected = {{"userAccount", "20050031"},
                              {"network", "需改进"},
                              {"grade", "大二"},
                              {"interview", "愿意"},
                              {"advice", "食堂饭菜可口 & 价格=合理+实惠"}};
    EXPECT_EQ(fakes::decodeQuery("?" + sent[0].body), expected);
}

}  // namespace
