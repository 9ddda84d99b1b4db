// campus: the campus client in a terminal. Launches the client through its application
// delegate on a chosen screen and data directory, prints the screen's outline and takes
// commands (tap, type, back, pull, swipe, alert, wait, screenshot) from the keyboard or a
// script; with --window the screen also shows in a window that takes the mouse and keyboard.
// `campus --help` says how.

#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/DemoServices.h"
#include "app/DirectoryOrganisations.h"
#include "app/LineReader.h"
#include "app/Options.h"
#include "app/Session.h"
#include "campus/MembersViewController.h"
#include "components/sidemenu/SideViewController.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/desktop/DesktopWindow.h"
#include "platform/foundation/DataDirectoryLock.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBarController.h"
#include "platform/webkit/EngineLoader.h"
#include "shell/AppDelegate.h"
#include "webcontainer/LocationDemoViewController.h"

namespace {

// Chooses the data directory before anything reads it: every store of the client looks
// CAMPUS_HOME up when it first opens.
bool useDataDirectory(const std::string& directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        std::cerr << "campus: cannot use the data directory " << directory << ": "
                  << error.message() << "\n";
        return false;
    }
    std::string absolute = std::filesystem::absolute(directory, error).string();
    ::setenv("CAMPUS_HOME", error ? directory.c_str() : absolute.c_str(), 1);
    return true;
}

// The navigation stack of the tab on screen, which `open` pushes onto; null when none is on top.
std::shared_ptr<platform::NavigationController> shownTabStack() {
    auto delegate = AppDelegate::shared();
    auto side = delegate ? delegate->sideViewController() : nullptr;
    auto tabs = std::dynamic_pointer_cast<platform::TabBarController>(
        side ? side->rootViewController() : nullptr);
    auto stack = std::dynamic_pointer_cast<platform::NavigationController>(
        tabs ? tabs->selectedViewController() : nullptr);
    if (!stack || stack->presentedViewController()) {
        return nullptr;
    }
    return stack;
}

// `open index ORGID` pushes the organisation's indexed member list, `open locationdemo` the
// location SDK's demonstration, onto the shown tab's stack, as an opener of them would.
platform::testing::DriverResult openScreenByName(const std::string& screen,
                                                 const std::string& orgId) {
    if (screen == "index") {
        if (auto refused = frontend::checkOrganisationToOpen(orgId); !refused) {
            return refused;
        }
    }
    auto stack = shownTabStack();
    if (!stack) {
        return platform::testing::DriverResult::failure(
            "no tab's screen is on top to open it from");
    }
    if (screen == "locationdemo") {
        auto demo = std::make_shared<LocationDemoViewController>();
        demo->setHidesBottomBarWhenPushed(true);
        stack->pushViewController(demo, true);
        return platform::testing::DriverResult::success();
    }
    auto members = std::make_shared<MembersViewController>();
    members->setOrgIdString(orgId);
    members->setHidesBottomBarWhenPushed(true);
    stack->pushViewController(members, true);
    return platform::testing::DriverResult::success();
}

// The screen in a window until it is closed or `quit` is typed; the terminal keeps taking
// commands meanwhile (a location fix, a camera image ...). Returns the exit status.
int runWindow(frontend::Session& session) {
    std::unique_ptr<platform::desktop::DesktopWindow> window;
    try {
        window =
            std::make_unique<platform::desktop::DesktopWindow>(platform::Application::shared());
    } catch (const std::exception& error) {
        std::cerr << "campus: " << error.what() << "\n";
        return 1;
    }
    std::cout << "The screen shows in a window; commands typed here work too (help lists them;"
                 " quit or closing the window leaves).\n"
              << std::flush;
    frontend::LineReader reader(STDIN_FILENO,
                                {[&](const std::string& line) {
                                     session.runLine(line);
                                     if (session.hasQuit()) {
                                         window->quit();
                                     }
                                 },
                                 // Without a terminal (started from a desktop) the window stays.
                                 {}});
    window->run();
    reader.stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    frontend::ParsedOptions parsed = frontend::parseOptions(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "campus: " << parsed.error << "\n" << frontend::usage();
        return 2;
    }
    const frontend::Options& options = parsed.options;
    if (options.help) {
        std::cout << frontend::usage();
        return 0;
    }
    std::ifstream script;
    if (options.scriptFile) {
        std::string problem = frontend::scriptFileProblem(*options.scriptFile);
        if (problem.empty()) {
            script.open(*options.scriptFile);
            if (!script) {
                problem = "cannot read the script " + *options.scriptFile;
            }
        }
        if (!problem.empty()) {
            std::cerr << "campus: " << problem << "\n";
            return 2;
        }
    }
    if (options.dataDir && !useDataDirectory(*options.dataDir)) {
        return 2;
    }
    // One client per data directory: claimed before anything there is read, kept until the
    // program ends.
    std::string lockError;
    const auto directoryLock =
        platform::DataDirectoryLock::acquire(platform::paths::dataDirectory(), &lockError);
    if (!directoryLock) {
        std::cerr << "campus: " << lockError << "\n";
        return 1;
    }

    platform::RunLoop::main().bindToCurrentThread();
    platform::Screen::main().setSize(options.screen);
    if (options.pad) {
        platform::Application::shared().setUserInterfaceIdiom(platform::UserInterfaceIdiom::Pad);
    }

    std::unique_ptr<fakes::FakeSchoolServices> services;
    try {
        services = frontend::startDemoServicesUnlessConfigured(std::cout);
    } catch (const std::exception& error) {
        std::cerr << "campus: cannot start the demo services: " << error.what() << "\n";
        return 1;
    }
    frontend::provideShareServiceConfig(std::cerr);

    frontend::SessionOptions sessionOptions;
    // Runs as the real clock until a `settle` passes the client's idle time at once.
    sessionOptions.clock = platform::RunLoop::main().useSkippingClock();
    sessionOptions.echo = options.scriptFile.has_value() || !::isatty(STDIN_FILENO);
    sessionOptions.prompt = !options.scriptFile && !options.window && ::isatty(STDIN_FILENO);
    if (sessionOptions.prompt) {
        std::cout << "Type a command after the screen (help lists them; quit or Ctrl-D leaves).\n";
    }
    sessionOptions.openScreen = openScreenByName;
    frontend::Session session(std::cout, sessionOptions);
    session.launch(std::make_shared<AppDelegate>());
    // The web engine starts off the main thread once the first screen shows, so that the first
    // page the user opens finds it ready; a client that opens none pays nothing at start-up.
    platform::webkit::setDeviceScale(platform::Screen::main().scale());
    platform::webkit::warmUp();
    int status = 0;
    if (options.window) {
        status = runWindow(session);
    } else if (options.scriptFile) {
        session.run(script);
    } else {
        session.run(std::cin);
    }

    // Take the screens down while the services they may still be talking to are up and the
    // process-wide objects they use are still alive.
    platform::Application& application = platform::Application::shared();
    application.terminate();
    application.reset();
    platform::RunLoop::main().reset();
    if (services) {
        services->stop();
    }
    std::cout << std::flush;
    if (status != 0) {
        return status;
    }
    return options.scriptFile && session.failures() > 0 ? 1 : 0;
}
