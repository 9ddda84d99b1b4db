#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Session.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ScrollView.h"
#include "tests/app/StandInClient.h"
#include "tests/support/TempHome.h"

namespace frontend {
namespace {

// The front end on the stand-in client, on the real clock as the program runs it (settling
// waits for real replies), talking to the fake services.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.start();
        services.setReply(
            "GET", "/slow",
            fakes::Reply{200, "text/plain", "headline", std::chrono::milliseconds(300)});
        scope = std::make_unique<platform::testing::UiTestScope>(platform::Size{375, 667}, false);
        SessionOptions options;
        options.echo = true;
        session = std::make_unique<Session>(out, options);
        session->launch(std::make_shared<standin::Delegate>(services.baseUrl() + "/slow"));
    }

    void TearDown() override {
        session.reset();
        scope.reset();
    }

    // What was printed since the last call.
    std::string printed() {
        std::string text = out.str();
        out.str("");
        return text;
    }

    testsupport::TempHome home;
    fakes::FakeSchoolServices services;
    std::unique_ptr<platform::testing::UiTestScope> scope;
    std::ostringstream out;
    std::unique_ptr<Session> session;
};

TEST_F(SessionTest, LaunchShowsTheFirstScreenAndOnceUnderItWhereTheCommandsAre) {
    std::string shown = printed();
    EXPECT_NE(shown.find("\"First\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("label \"nothing loaded\""), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.find(session->screen())),
              session->screen() + "\n" + "help lists the commands.\n\n")
        << shown;
    session->runLine("tap Next");
    EXPECT_EQ(printed().find("help lists"), std::string::npos);
}

TEST_F(SessionTest, EachCommandIsEchoedBeforeTheScreenItLeadsToAndCommentsPrintNothing) {
    printed();
    session->runLine("# a comment");
    session->runLine("");
    EXPECT_EQ(printed(), "");
    session->runLine("  tap Next  ");
    std::string shown = printed();
    ASSERT_EQ(shown.rfind("> tap Next\n", 0), 0u) << shown;
    EXPECT_NE(shown.find("\"Second\""), std::string::npos) << shown;
    EXPECT_EQ(session->failures(), 0);
}

TEST_F(SessionTest, TheScreenIsShownOnceTheRepliesHaveArrived) {
    printed();
    session->runLine("tap Load");
    EXPECT_NE(printed().find("label \"loaded: headline\""), std::string::npos);
}

TEST_F(SessionTest, ABadHandleOrCommandIsOneErrorLineAndTheSameScreenAndTheSessionGoesOn) {
    std::string before = session->screen();
    printed();
    session->runLine("tap b99");
    EXPECT_EQ(printed(), "> tap b99\nerror: no such handle: b99\n" + before + "\n");
    session->runLine("jump b1");
    EXPECT_EQ(printed(), "> jump b1\nerror: unknown command: \"jump\" (help lists the commands)\n" +
                             before + "\n");
    session->runLine("tap Next");
    EXPECT_NE(printed().find("\"Second\""), std::string::npos);
    EXPECT_EQ(session->failures(), 2);
}

TEST_F(SessionTest, TypingAQuotedTextKeepsItsSpaces) {
    session->runLine(R"(type 账号 "王 建国")");
    EXPECT_EQ(session->failures(), 0);
    EXPECT_NE(session->screen().find("王 建国"), std::string::npos) << session->screen();
}

TEST_F(SessionTest, TheEndOfTheInputEndsQuietlyAndQuitStopsReadingTheRest) {
    std::istringstream script("tap Next\n");
    session->run(script);
    EXPECT_FALSE(session->hasQuit());
    EXPECT_EQ(session->failures(), 0);

    std::istringstream rest("quit\nback\n");
    printed();
    session->run(rest);
    EXPECT_TRUE(session->hasQuit());
    EXPECT_EQ(printed().find("> back"), std::string::npos);
    EXPECT_NE(session->screen().find("\"Second\""), std::string::npos);
}

TEST_F(SessionTest, HelpWalksANewcomerInThenListsTheCommands) {
    printed();
    session->runLine("help");
    std::string shown = printed();
    std::istringstream lines(shown);
    std::vector<std::string> first(4);
    for (auto& line : first) std::getline(lines, line);
    EXPECT_EQ(first[0], "> help");
    // No introduction stands in the way (as on the tablet): signed in with a sample account,
    // onto a screen.
    EXPECT_EQ(shown.find("swipe intro"), std::string::npos) << shown;
    for (const char* step : {"tap 会议", "type account ", "type password ", "tap login"}) {
        EXPECT_NE(first[1].find(step), std::string::npos) << step << "\n" << shown;
    }
    EXPECT_NE(first[2].find("open a screen: tap "), std::string::npos) << shown;
    EXPECT_EQ(first[3], "commands:");
    for (const char* command : {"tap", "type", "return", "back", "pull down", "pull up", "swipe",
                                "alert", "wait", "screenshot", "quit"}) {
        EXPECT_NE(shown.find(std::string("  ") + command + " "), std::string::npos) << command;
    }
}

TEST_F(SessionTest, AScreenshotIsWrittenAsAPictureOrFailsWithAnError) {
    std::filesystem::path file = home.path() / "first.png";
    session->runLine("screenshot " + file.string());
    EXPECT_EQ(session->failures(), 0);
    EXPECT_NE(printed().find("saved " + file.string() + "\n"), std::string::npos);
    platform::Image picture = platform::Image::fromFile(file);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), (platform::Size{375, 667}));

    session->runLine("screenshot " + (home.path() / "missing" / "dir" / "x.png").string());
    EXPECT_EQ(session->failures(), 1);
    EXPECT_NE(printed().find("error: "), std::string::npos);
}

// A client whose first screen is a pager of `pictures` pages and an empty one after them, named
// as the introduction is.
class IntroDelegate : public platform::ApplicationDelegate {
public:
    explicit IntroDelegate(int pictures) : m_pictures(pictures) {}

    bool didFinishLaunchingWithOptions(platform::Application&, const platform::Json&) override {
        auto first = std::make_shared<platform::ViewController>();
        window = platform::View::make<platform::Window>();
        window->setRootViewController(first);
        window->makeKeyAndVisible();
        const platform::Rect bounds = first->view()->bounds();
        auto pager = platform::View::make<platform::ScrollView>(bounds);
        pager->setHandle("intro");
        pager->setPagingEnabled(true);
        pager->setContentSize({bounds.size.width * (m_pictures + 1), bounds.size.height});
        first->view()->addSubview(pager);
        return true;
    }

    std::shared_ptr<platform::Window> window;

private:
    int m_pictures;
};

TEST(SessionIntroTest, UnderAnIntroductionTheFirstScreenSaysHowToSwipeIn) {
    testsupport::TempHome home;
    for (int pictures : {3, 5}) {
        SCOPED_TRACE(pictures);
        platform::testing::UiTestScope scope(platform::Size{320, 568}, false);
        std::ostringstream out;
        SessionOptions options;
        options.echo = true;
        Session session(out, options);
        session.launch(std::make_shared<IntroDelegate>(pictures));
        const std::string hint = "To go in, swipe through the introduction: swipe intro " +
                                 std::to_string(pictures) + " (help lists the commands).\n";
        EXPECT_EQ(out.str(), session.screen() + "\n" + hint + "\n");

        // Help's first step is the same swipe.
        out.str("");
        session.runLine("help");
        EXPECT_NE(out.str().find("> help\nTo go in: swipe intro " + std::to_string(pictures) + " "),
                  std::string::npos)
            << out.str();

        // The page it names is the one past the pictures, and it is said only once.
        out.str("");
        session.runLine("swipe intro " + std::to_string(pictures));
        EXPECT_EQ(session.failures(), 0) << out.str();
        EXPECT_EQ(out.str().find("To go in"), std::string::npos) << out.str();
        out.str("");
        session.runLine("swipe intro " + std::to_string(pictures + 1));
        EXPECT_EQ(session.failures(), 1) << "no page past the empty one";
    }
}

}  // namespace
}  // namespace frontend
