#include "platform/ui/Application.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/Log.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/Device.h"
#include "platform/ui/DisplayChanges.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

std::set<std::string> defaultOpenableSchemes() {
    return {"http",   "https", "tel",       "telprompt",   "sms",
            "mailto", "itms",  "itms-apps", "app-settings"};
}

}  // namespace

Application& Application::shared() {
    static Application application;
    return application;
}

Application::Application() : m_openableSchemes(defaultOpenableSchemes()) {}

void Application::setDelegate(std::shared_ptr<ApplicationDelegate> delegate) {
    m_delegate = std::move(delegate);
}

bool Application::launch() {
    return launch(Json::object());
}

bool Application::launch(const Json& options) {
    auto delegate = m_delegate;
    if (!delegate) {
        return false;
    }
    bool launched = delegate->didFinishLaunchingWithOptions(*this, options);
    delegate->applicationDidBecomeActive(*this);
    return launched;
}

void Application::enterBackground() {
    if (auto delegate = m_delegate) {
        delegate->applicationWillResignActive(*this);
        delegate->applicationDidEnterBackground(*this);
    }
}

void Application::enterForeground() {
    if (auto delegate = m_delegate) {
        delegate->applicationWillEnterForeground(*this);
        delegate->applicationDidBecomeActive(*this);
    }
}

void Application::terminate() {
    if (auto delegate = m_delegate) {
        delegate->applicationWillTerminate(*this);
    }
}

void Application::receiveMemoryWarning() {
    if (auto delegate = m_delegate) {
        delegate->applicationDidReceiveMemoryWarning(*this);
    }
}

bool Application::deliverOpenURL(const std::string& url, const std::string& sourceApplication) {
    auto delegate = m_delegate;
    if (!delegate) {
        return false;
    }
    return delegate->openURL(*this, url, sourceApplication) || delegate->handleOpenURL(*this, url);
}

std::vector<std::shared_ptr<Window>> Application::windows() const {
    std::vector<std::shared_ptr<Window>> alive;
    for (const auto& weak : m_windows) {
        if (auto window = weak.lock()) {
            alive.push_back(std::move(window));
        }
    }
    return alive;
}

void Application::windowBecameVisible(const std::shared_ptr<Window>& window) {
    std::erase_if(m_windows, [&](const std::weak_ptr<Window>& w) {
        auto locked = w.lock();
        return !locked || locked == window;
    });
    m_windows.push_back(window);
}

void Application::windowBecameKey(const std::shared_ptr<Window>& window) {
    if (m_keyWindow.lock() == window) {
        return;
    }
    m_keyWindow = window;
    // Front ends draw the key window.
    if (!window->isHidden()) {
        noteDisplayChange();
    }
}

bool Application::canOpenURL(const std::string& url) const {
    auto colon = url.find(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    std::string scheme = url.substr(0, colon);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return m_openableSchemes.count(scheme) > 0;
}

bool Application::openURL(const std::string& url) {
    if (!canOpenURL(url)) {
        return false;
    }
    m_openedURLs.push_back(url);
    return true;
}

void Application::setStatusBarStyle(StatusBarStyle style, bool /*animated*/) {
    if (m_statusBarStyle == style) {
        return;
    }
    m_statusBarStyle = style;
    // The bar is drawn over every screen in its style's ink.
    noteDisplayChange();
}

void Application::setStatusBarHidden(bool hidden, bool /*animated*/) {
    if (m_statusBarHidden == hidden) {
        return;
    }
    m_statusBarHidden = hidden;
    noteDisplayChange();
    // Bars below the status bar move; let every window lay out again.
    for (auto& window : windows()) {
        window->setNeedsLayoutBelow();
    }
}

Rect Application::statusBarFrame() const {
    if (m_statusBarHidden) {
        return Rect{};
    }
    return Rect{{0, 0}, {Screen::main().size().width, kStatusBarHeight}};
}

void Application::setStatusBarOrientation(InterfaceOrientation orientation) {
    if (orientation == InterfaceOrientation::Unknown || orientation == m_statusBarOrientation) {
        return;
    }
    m_statusBarOrientation = orientation;
    for (auto& window : windows()) {
        window->setNeedsLayoutBelow();
    }
}

InterfaceOrientationMask Application::supportedInterfaceOrientations() const {
    const bool pad = m_idiom == UserInterfaceIdiom::Pad;
    const Bundle& bundle = Bundle::main();
    auto declared = pad ? bundle.objectForInfoDictionaryKey("UISupportedInterfaceOrientations~ipad")
                        : std::nullopt;
    if (!declared) {
        declared = bundle.objectForInfoDictionaryKey("UISupportedInterfaceOrientations");
    }
    if (!declared) {
        return deviceInterfaceOrientations();
    }
    if (auto mask = orientationMaskFromInfoList(*declared)) {
        return *mask;
    }
    // Asked only when the device turns or the screen on top changes, so reported as often.
    log("Info.plist: the supported interface orientations are not a list of orientations");
    return deviceInterfaceOrientations();
}

InterfaceOrientationMask Application::deviceInterfaceOrientations() const {
    return m_idiom == UserInterfaceIdiom::Pad ? OrientationMask::All
                                              : OrientationMask::AllButUpsideDown;
}

void Application::resignFirstResponderForced() {
    auto current = firstResponder();
    if (!current) {
        return;
    }
    if (!current->resignFirstResponder()) {
        m_firstResponder.reset();
    }
}

void Application::reset() {
    m_delegate.reset();
    m_windows.clear();
    m_keyWindow.reset();
    m_firstResponder.reset();
    m_openedURLs.clear();
    m_openableSchemes = defaultOpenableSchemes();
    m_statusBarStyle = StatusBarStyle::Default;
    m_statusBarHidden = false;
    m_statusBarOrientation = InterfaceOrientation::Portrait;
    Device::current().reset();
    m_idiom = UserInterfaceIdiom::Phone;
    m_systemVersion = "9.3";
    m_badgeNumber = 0;
    m_networkActivityIndicatorVisible = false;
}

double Application::systemVersionNumber() const {
    double number = 0;
    std::from_chars(m_systemVersion.data(), m_systemVersion.data() + m_systemVersion.size(),
                    number);
    return number;
}

}  // namespace platform
