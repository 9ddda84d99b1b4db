#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/JsonFwd.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/InterfaceOrientation.h"

namespace platform {

class ApplicationDelegate;
class View;
class Window;

enum class StatusBarStyle { Default, LightContent };
enum class UserInterfaceIdiom { Phone, Pad };

// The phone's UIApplication: the process-wide application object with its delegate, its
// windows, the status bar, the URLs it was asked to open and the device facts the system
// code branches on. Main thread only.
class Application {
public:
    static Application& shared();

    std::shared_ptr<ApplicationDelegate> delegate() const { return m_delegate; }
    // The application keeps its delegate alive, as the phone's application main does.
    void setDelegate(std::shared_ptr<ApplicationDelegate> delegate);

    // Life-cycle events, sent to the delegate: launch (finish launching, then become
    // active), going to the background and back, termination, memory warnings.
    bool launch();
    bool launch(const Json& options);
    void enterBackground();
    void enterForeground();
    void terminate();
    void receiveMemoryWarning();
    // Another application opened a URL of ours.
    bool deliverOpenURL(const std::string& url, const std::string& sourceApplication);

    // Windows that have been shown, oldest first (the last one is on top).
    std::vector<std::shared_ptr<Window>> windows() const;
    std::shared_ptr<Window> keyWindow() const { return m_keyWindow.lock(); }

    // The URL that opens this application's page of the system settings (permissions).
    static constexpr const char* kOpenSettingsURLString = "app-settings:";

    // Opening a URL records it when some application on the device can take its scheme.
    bool openURL(const std::string& url);
    bool canOpenURL(const std::string& url) const;
    const std::vector<std::string>& openedURLs() const { return m_openedURLs; }
    // Schemes (lower case) the stand-in device can open; web, phone, text, mail, store and
    // settings links by default.
    void setOpenableSchemes(std::set<std::string> schemes) {
        m_openableSchemes = std::move(schemes);
    }

    StatusBarStyle statusBarStyle() const { return m_statusBarStyle; }
    void setStatusBarStyle(StatusBarStyle style, bool animated = false);
    bool isStatusBarHidden() const { return m_statusBarHidden; }
    void setStatusBarHidden(bool hidden, bool animated = false);
    // 20 points across the top of the screen in the interface's orientation, or empty while
    // hidden.
    Rect statusBarFrame() const;
    static constexpr double kStatusBarHeight = 20;
    // The interface's orientation. Setting it turns the status bar and the screen's bounds
    // only; InterfaceRotation turns the whole interface (windows, controllers).
    InterfaceOrientation statusBarOrientation() const { return m_statusBarOrientation; }
    void setStatusBarOrientation(InterfaceOrientation orientation);

    // The orientations the application declares its screens are laid out for: its
    // Info.plist's "UISupportedInterfaceOrientations" ("UISupportedInterfaceOrientations~ipad"
    // on a tablet, falling back to the plain key), else what the device takes by default. A
    // screen that says nothing of its orientations keeps to these; a screen laid out for
    // others says which it takes (ViewController::supportedInterfaceOrientations). Unlike the
    // phone's list this is no ceiling: a vendor's screens that lay themselves out for every
    // orientation turn within an upright application.
    InterfaceOrientationMask supportedInterfaceOrientations() const;
    // Every orientation the device takes: all four on a tablet, all but upside-down on a
    // phone (whose interface is never drawn upside-down).
    InterfaceOrientationMask deviceInterfaceOrientations() const;

    UserInterfaceIdiom userInterfaceIdiom() const { return m_idiom; }
    void setUserInterfaceIdiom(UserInterfaceIdiom idiom) { m_idiom = idiom; }
    const std::string& systemVersion() const { return m_systemVersion; }
    void setSystemVersion(std::string version) { m_systemVersion = std::move(version); }
    // The version's leading number ("9.3" gives 9.3), for the "from version N on" branches;
    // 0 when it does not start with one.
    double systemVersionNumber() const;
    int applicationIconBadgeNumber() const { return m_badgeNumber; }
    void setApplicationIconBadgeNumber(int number) { m_badgeNumber = number; }
    bool isNetworkActivityIndicatorVisible() const { return m_networkActivityIndicatorVisible; }
    void setNetworkActivityIndicatorVisible(bool visible) {
        m_networkActivityIndicatorVisible = visible;
    }

    // The one first responder (the view that takes typing). Views manage it through
    // becomeFirstResponder / resignFirstResponder.
    std::shared_ptr<View> firstResponder() const { return m_firstResponder.lock(); }
    void setFirstResponder(std::weak_ptr<View> view) { m_firstResponder = std::move(view); }
    // Asks the first responder to resign and clears it even if it refuses.
    void resignFirstResponderForced();

    // Forgets the delegate, windows, opened URLs, first responder and every setting; for
    // tests between cases.
    void reset();

private:
    friend class Window;
    Application();
    void windowBecameVisible(const std::shared_ptr<Window>& window);
    void windowBecameKey(const std::shared_ptr<Window>& window);

    std::shared_ptr<ApplicationDelegate> m_delegate;
    std::vector<std::weak_ptr<Window>> m_windows;
    std::weak_ptr<Window> m_keyWindow;
    std::weak_ptr<View> m_firstResponder;
    std::vector<std::string> m_openedURLs;
    std::set<std::string> m_openableSchemes;
    StatusBarStyle m_statusBarStyle{StatusBarStyle::Default};
    bool m_statusBarHidden{false};
    InterfaceOrientation m_statusBarOrientation{InterfaceOrientation::Portrait};
    UserInterfaceIdiom m_idiom{UserInterfaceIdiom::Phone};
    std::string m_systemVersion{"9.3"};
    int m_badgeNumber{0};
    bool m_networkActivityIndicatorVisible{false};
};

}  // namespace platform
