#include "app/Session.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <istream>
#include <ostream>

#include "SocialSDK/service/SHSUserManager.h"
#include "SocialSDK/service/SHSocialConfig.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialSnsPlatform.h"
#include "app/Command.h"
#include "app/CommandParser.h"
#include "components/webprogress/WebViewProgressView.h"
#include "platform/foundation/TerminalText.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Application.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/Device.h"
#include "platform/ui/DisplayChanges.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"

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

// The platform names the share SDK's screens take, in its registry's order, for a refusal to
// list: a newcomer cannot guess them.
std::string sharePlatformNames() {
    std::string names;
    for (const auto& platform : SHSocialSnsPlatformManager::sharedInstance().allSnsPlatforms()) {
        if (!SHSUserManager::isPlatformTypeValid(platform->platformName)) {
            continue;
        }
        names += names.empty() ? "" : ", ";
        names += platform->platformName;
    }
    return names;
}

platform::testing::DriverResult noSharePlatform(const std::string& platformName) {
    return DriverResult::failure("the share SDK has no platform \"" + platformName +
                                 "\" (it takes " + sharePlatformNames() + ")");
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
    showWayIn();
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
        m_out << commandHelp(introLastPage()) << "\n";
        return;
    }
    if (command.kind == CommandKind::Display) {
        // Lets a script see, apart from the outline, whether an idle screen stays still.
        m_out << "display changes " << platform::displayGeneration() << "\n";
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
    if (!settle(m_options.timing, [this] { return waitsVisibly(); }) &&
        platform::HttpClient::shared().inFlight() > 0) {
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
        case CommandKind::Settle:
            if (!settleTimedChanges(m_options.clock, m_options.timing.boundSeconds)) {
                return DriverResult::failure("the client did not come to rest within " +
                                             std::to_string(int(m_options.timing.boundSeconds)) +
                                             " s");
            }
            return DriverResult::success();
        case CommandKind::Screenshot:
            return m_driver.screenshot(command.text);
        case CommandKind::Zoom:
            return zoomPage(command.factor);
        case CommandKind::Device:
            return performDeviceCommand(command.device);
        case CommandKind::Open:
            if (!m_options.openScreen) {
                return DriverResult::failure("this client opens no screen by name");
            }
            return m_options.openScreen(command.target, command.text);
        case CommandKind::Share:
            if (command.target == "follow") {
                return offerShareFollow(command.text, command.account);
            }
            if (command.target == "orientations") {
                // The host's setting of the share SDK's orientations.
                SHSocialConfig::setSupportedInterfaceOrientations(std::stoi(command.text));
                return DriverResult::success();
            }
            if (command.target == "theme") {
                // The host's choice of look for the screens the SDK makes from now on.
                SHSocialConfig::setTheme(command.text == "0" ? 0 : 1);
                return DriverResult::success();
            }
            return presentShareScreen(command.target, command.text);
        case CommandKind::Display:
        case CommandKind::Help:
        case CommandKind::Quit:
            break;
    }
    return DriverResult::success();
}

// The host's setting of the share SDK that makes the edit screen offer to follow the
// platform's official account (until a follow has been sent).
DriverResult Session::offerShareFollow(const std::string& platformName,
                                       const std::string& account) {
    if (!SHSUserManager::isPlatformTypeValid(platformName)) {
        return noSharePlatform(platformName);
    }
    SHSocialConfig::setFollowWeiboUids({{platformName, {account}}});
    return DriverResult::success();
}

// The share SDK's own operations: its controller service makes the screen, presented in a
// navigation controller over what shows now, as the SDK presents its screens.
DriverResult Session::presentShareScreen(const std::string& screen,
                                         const std::string& platformName) {
    if (screen != "list" && !SHSUserManager::isPlatformTypeValid(platformName)) {
        return noSharePlatform(platformName);
    }
    auto window = platform::Application::shared().keyWindow();
    auto top = window ? window->rootViewController() : nullptr;
    if (!top) {
        return DriverResult::failure("nothing on screen to present the share screen over");
    }
    while (auto presented = top->presentedViewController()) {
        top = presented;
    }
    auto service = SHSocialControllerService::defaultControllerService();
    std::shared_ptr<platform::ViewController> controller;
    if (screen == "list") {
        controller = service->getSocialShareListControllerInternal();
    } else if (screen == "edit") {
        controller = service->getSocialShareEditControllerInternal(platformName, std::nullopt);
    } else {
        service->nextViewController = 3;  // signed in, the user writes the share
        controller = service->getSocialOauthControllerInternal(platformName, std::nullopt);
    }
    if (!controller) {
        return DriverResult::failure("the share SDK made no " + screen + " screen");
    }
    // The service hands its screens over in a navigation controller of their own.
    auto navigation = std::dynamic_pointer_cast<platform::NavigationController>(controller);
    if (!navigation) {
        navigation = std::make_shared<platform::NavigationController>(controller);
        service->currentNavigationController = navigation;
    }
    top->presentViewController(navigation, true);
    return DriverResult::success();
}

std::string Session::screen() const {
    std::string outline = m_driver.outline();
    return screenFacts() + (outline.empty() ? "(nothing on screen)\n" : outline);
}

std::string Session::screenFacts() const {
    // Said only when the screen is not the upright phone every script starts on, so that a
    // turned or tablet screen reads as such, and so does a turned device whose screen stayed
    // as it was.
    const auto& application = platform::Application::shared();
    const bool pad = application.userInterfaceIdiom() == platform::UserInterfaceIdiom::Pad;
    const auto orientation = application.statusBarOrientation();
    const auto device = platform::Device::current().orientation();
    const auto followed = platform::interfaceOrientationFor(device);
    const bool kept = followed && *followed != orientation;
    if (!pad && orientation == platform::InterfaceOrientation::Portrait && !kept) {
        return "";
    }
    const platform::Size size = platform::Screen::main().size();
    char dimensions[64];
    std::snprintf(dimensions, sizeof dimensions, "%gx%g", size.width, size.height);
    return std::string("screen ") + (pad ? "tablet " : "") + dimensions + " " +
           platform::orientationName(orientation) +
           (kept ? " (device " + platform::orientationName(device) + ")" : "") + "\n";
}

void Session::showScreen() {
    m_out << screen() << "\n" << std::flush;
}

std::optional<int> Session::introLastPage() const {
    // The introduction's pager ends in an empty page past its pictures; swiping onto it is how
    // a user goes in.
    auto intro = std::dynamic_pointer_cast<platform::ScrollView>(m_driver.findByHandle("intro"));
    const double width = intro ? intro->bounds().size.width : 0;
    if (width > 0 && intro->contentSize().width > width) {
        return int(std::ceil(intro->contentSize().width / width - 1e-6)) - 1;
    }
    return std::nullopt;
}

void Session::showWayIn() {
    if (auto lastPage = introLastPage()) {
        m_out << "To go in, swipe through the introduction: swipe intro " << *lastPage
              << " (help lists the commands).\n\n"
              << std::flush;
        return;
    }
    m_out << "help lists the commands.\n\n" << std::flush;
}

void Session::fail(const std::string& reason) {
    ++m_failures;
    // The reason may quote what a screen shows, which a server may have sent.
    m_out << "error: " << platform::terminalSafeText(reason) << "\n";
}

// The user's pinch on the web page on screen, about its middle.
DriverResult Session::zoomPage(double factor) {
    auto pages = m_driver.findAll<platform::WebView>();
    if (pages.empty())
        return DriverResult::failure("no web page on screen");
    auto& page = *pages.front();
    const platform::Size size = page.bounds().size;
    if (!page.zoomBy(factor, platform::Point{size.width / 2, size.height / 2}))
        return DriverResult::failure("the page on screen may not be zoomed");
    return DriverResult::success();
}

// The client shows that it waits: a spinning overlay or indicator, or a page's progress line
// short of its end. Read from the views themselves (the driver's outline would hand out
// handles while the command settles).
bool Session::waitsVisibly() const {
    std::function<bool(const platform::View&)> waits = [&](const platform::View& view) {
        if (view.isHidden() || view.alpha() <= 0)
            return false;
        if (auto* spinner = dynamic_cast<const platform::ActivityIndicatorView*>(&view);
            spinner && spinner->isAnimating())
            return true;
        if (auto* line = dynamic_cast<const platform::components::WebViewProgressView*>(&view);
            line && line->progress() > 0 && line->progress() < 1)
            return true;
        for (const auto& subview : view.subviews()) {
            if (waits(*subview))
                return true;
        }
        return false;
    };
    for (const auto& window : platform::Application::shared().windows()) {
        if (window && waits(*window))
            return true;
    }
    return false;
}

}  // namespace frontend
