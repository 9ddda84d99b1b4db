#include "app/Session.h"

#include <exception>
#include <istream>
#include <ostream>

#include "app/Command.h"
#include "app/CommandParser.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationDelegate.h"

namespace frontend {

using platform::testing::DriverResult;

namespace {

std::string trimmed(const std::string& line) {
    size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return "";
    }
    size_t last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

}  // namespace

Session::Session(std::ostream& out, SessionOptions options)
    : m_out(out), m_options(std::move(options)) {}

bool Session::launch(std::shared_ptr<platform::ApplicationDelegate> delegate) {
    platform::Application& application = platform::Application::shared();
    application.setDelegate(std::move(delegate));
    bool launched = false;
    try {
        launched = application.launch();
    } catch (const std::exception& error) {
        m_out << "error: the client failed to start: " << error.what() << "\n";
        ++m_failures;
    }
    settle(m_options.timing);
    showScreen();
    return launched;
}

void Session::run(std::istream& in) {
    std::string line;
    while (!m_quit) {
        if (m_options.prompt) {
            m_out << "> " << std::flush;
        }
        if (!std::getline(in, line)) {
            break;
        }
        runLine(line);
    }
}

void Session::runLine(const std::string& line) {
    ParsedLine parsed = parseCommandLine(line);
    if (parsed.isBlank()) {
        return;
    }
    if (m_options.echo) {
        m_out << "> " << trimmed(line) << "\n";
    }
    if (!parsed.command) {
        fail(parsed.error);
        showScreen();
        return;
    }
    const Command& command = *parsed.command;
    if (command.kind == CommandKind::Quit) {
        m_quit = true;
        return;
    }
    if (command.kind == CommandKind::Help) {
        m_out << commandHelp() << "\n";
        return;
    }
    const size_t openedBefore = platform::Application::shared().openedURLs().size();
    DriverResult result;
    try {
        result = perform(command);
    } catch (const std::exception& error) {
        // A fault in a screen must not take the session (and the user's state) down with it.
        result = DriverResult::failure(std::string("the command failed: ") + error.what());
    }
    if (!result) {
        fail(result.error);
    }
    if (!settle(m_options.timing) && platform::HttpClient::shared().inFlight() > 0) {
        m_out << "note: still waiting for " << platform::HttpClient::shared().inFlight()
              << " replies\n";
    }
    if (result && command.kind == CommandKind::Screenshot) {
        m_out << "saved " << command.text << "\n";
    }
    // Another application takes over such a URL; the session says which it was handed.
    const auto& opened = platform::Application::shared().openedURLs();
    for (size_t i = openedBefore; i < opened.size(); ++i) {
        m_out << "opened " << opened[i] << "\n";
    }
    showScreen();
}

DriverResult Session::perform(const Command& command) {
    switch (command.kind) {
        case CommandKind::Tap:
            return m_driver.tap(command.target);
        case CommandKind::Type:
            return m_driver.type(command.target, command.text);
        case CommandKind::Return:
            return m_driver.pressReturn();
        case CommandKind::Back:
            return m_driver.back();
        case CommandKind::PullDown:
            return command.target.empty() ? m_driver.pullDown() : m_driver.pullDown(command.target);
        case CommandKind::PullUp:
            return command.target.empty() ? m_driver.pullUp() : m_driver.pullUp(command.target);
        case CommandKind::Swipe:
            return m_driver.swipeToPage(command.target, command.page);
        case CommandKind::Drag:
            if (command.target.empty()) {
                return m_driver.dragFinger(platform::Point{command.x, command.y},
                                           platform::Point{command.toX, command.toY});
            }
            if (!command.onto.empty()) {
                return m_driver.dragOnto(command.target, command.onto);
            }
            return m_driver.drag(command.target, platform::Point{command.x, command.y});
        case CommandKind::Alert:
            return m_driver.pressAlertButton(command.target);
        case CommandKind::Wait:
            return m_driver.wait(command.seconds);
        case CommandKind::Screenshot:
            return m_driver.screenshot(command.text);
        case CommandKind::Device:
            return performDeviceCommand(command.device);
        case CommandKind::Help:
        case CommandKind::Quit:
            break;
    }
    return DriverResult::success();
}

std::string Session::screen() const {
    std::string outline = m_driver.outline();
    return outline.empty() ? "(nothing on screen)\n" : outline;
}

void Session::showScreen() {
    m_out << screen() << "\n" << std::flush;
}

void Session::fail(const std::string& reason) {
    ++m_failures;
    m_out << "error: " << reason << "\n";
}

}  // namespace frontend
