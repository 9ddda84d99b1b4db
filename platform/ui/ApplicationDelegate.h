#pragma once

#include <memory>
#include <string>

#include "platform/foundation/JsonFwd.h"

namespace platform {

class Application;
class Window;

// The application's delegate (UIApplicationDelegate). Every callback does nothing unless
// overridden; the launch callback returns true.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;

    virtual bool didFinishLaunchingWithOptions(Application& /*application*/,
                                               const Json& /*options*/) {
        return true;
    }
    virtual void applicationWillResignActive(Application& /*application*/) {}
    virtual void applicationDidEnterBackground(Application& /*application*/) {}
    virtual void applicationWillEnterForeground(Application& /*application*/) {}
    virtual void applicationDidBecomeActive(Application& /*application*/) {}
    virtual void applicationWillTerminate(Application& /*application*/) {}
    virtual void applicationDidReceiveMemoryWarning(Application& /*application*/) {}
    // A URL of one of the application's schemes was opened; returns whether it was handled.
    virtual bool openURL(Application& /*application*/, const std::string& /*url*/,
                         const std::string& /*sourceApplication*/) {
        return false;
    }
    virtual bool handleOpenURL(Application& /*application*/, const std::string& /*url*/) {
        return false;
    }
    // The application's main window, for code that reaches it through the delegate; none
    // when the delegate keeps no window.
    virtual std::shared_ptr<Window> window() const { return nullptr; }
};

}  // namespace platform
