#pragma once

#include <string>

#include "platform/foundation/JsonFwd.h"

namespace platform {

class Application;

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
};

}  // namespace platform
