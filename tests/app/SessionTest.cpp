#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "app/Session.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UiTestScope.h"
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

TEST_F(SessionTest, LaunchShowsTheFirstScreen) {
    std::string shown = printed();
    EXPECT_NE(shown.find("\"First\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("label \"nothing loaded\""), std::string::npos) << shown;
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

TEST_F(SessionTest, HelpListsTheCommands) {
    printed();
    session->runLine("help");
    std::string shown = printed();
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

}  // namespace
}  // namespace frontend
