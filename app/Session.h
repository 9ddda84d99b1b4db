#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "app/Settle.h"
#include "platform/testing/DriverResult.h"
#include "platform/testing/UIDriver.h"

namespace platform {
class ApplicationDelegate;
}

namespace frontend {

struct Command;

struct SessionOptions {
    // Script mode: each command is written as "> command" before the screen it leads to.
    bool echo = false;
    // Interactive mode on a terminal: "> " before each line is read.
    bool prompt = false;
    SettleTiming timing;
    // The loop's clock, which `settle` moves on over the client's idle time; without one,
    // `settle` waits in real time.
    std::shared_ptr<platform::SkippingClock> clock;
    // Opens a screen that the client keeps but none of its screens opens (`open index ORGID`
    // pushes the indexed member list), as an opener would; none means `open` fails.
    std::function<platform::testing::DriverResult(const std::string& screen,
                                                  const std::string& argument)>
        openScreen;
};

// The terminal front end: runs the client through the application's launch, then takes
// commands line by line, acting on the screen as a finger would (platform::testing::UIDriver)
// and printing the screen's outline after each. A bad command or handle is one "error: ..."
// line followed by the unchanged screen; nothing a user types ends the session but `quit`
// and the end of the input. Main thread only.
class Session {
public:
    explicit Session(std::ostream& out, SessionOptions options = {});

    // Makes the delegate the application's, launches, lets the first screen load and shows
    // it, with a line under it saying how to go on. Returns what the launch returned.
    bool launch(std::shared_ptr<platform::ApplicationDelegate> delegate);

    // Runs one line; blank lines and "#" comments do nothing.
    void runLine(const std::string& line);
    // Runs lines until `quit` or the end of the input.
    void run(std::istream& in);

    // Commands that failed so far (bad commands included).
    int failures() const { return m_failures; }
    bool hasQuit() const { return m_quit; }

    // The screen as it stands, as printed after each command.
    std::string screen() const;
    platform::testing::UIDriver& driver() { return m_driver; }

private:
    platform::testing::DriverResult zoomPage(double factor);
    bool waitsVisibly() const;
    platform::testing::DriverResult perform(const Command& command);
    platform::testing::DriverResult offerShareFollow(const std::string& platformName,
                                                     const std::string& account);
    platform::testing::DriverResult presentShareScreen(const std::string& screen,
                                                       const std::string& platformName);
    // "screen tablet 1024x768 landscape-right" and the like, when not the upright phone.
    std::string screenFacts() const;
    void showScreen();
    // Said once, under the first screen: a newcomer sees only the introduction's pictures,
    // which give no hint that swiping past them goes in.
    void showWayIn();
    // While the introduction shows, its page past the pictures, where a user goes in.
    std::optional<int> introLastPage() const;
    void fail(const std::string& reason);

    std::ostream& m_out;
    SessionOptions m_options;
    platform::testing::UIDriver m_driver;
    int m_failures{0};
    bool m_quit{false};
};

}  // namespace frontend
