#pragma once

// A screen that locates the user, as a case puts it on screen: in a navigation stack in a key
// window on the manual clock, with location permission given, the fixes fed by the case and
// what the log says kept.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/devices/LocationDevice.h"
#include "platform/devices/LocationManager.h"
#include "platform/foundation/Log.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/support/TempHome.h"

namespace locatingtest {

// A fix at the coordinate, as close as the accuracy (metres) says.
inline platform::Location fix(double latitude, double longitude, double accuracy = 8) {
    platform::Location location;
    location.coordinate = {latitude, longitude};
    location.horizontalAccuracy = accuracy;
    return location;
}

class LocatingScreenTest : public ::testing::Test {
protected:
    LocatingScreenTest() {
        platform::setLogSink([this](const std::string& line) { logLines.push_back(line); });
        device.reset();
        device.setAuthorizationStatus(platform::LocationAuthorizationStatus::AuthorizedWhenInUse);
    }
    ~LocatingScreenTest() override {
        platform::setLogSink(nullptr);
        device.reset();
    }

    // The key window shows a navigation stack with the screen at its root.
    void showStack(const std::shared_ptr<platform::ViewController>& root) {
        navigation = std::make_shared<platform::NavigationController>(root);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }
    // The device reports the fix, and the loop hands it on.
    void feed(const platform::Location& location) {
        device.injectLocation(location);
        scope.advance(0);
    }
    bool logged(const std::string& line) const {
        for (const auto& each : logLines)
            if (each == line)
                return true;
        return false;
    }

    testsupport::TempHome home;
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    platform::LocationDevice& device = platform::LocationDevice::shared();
    std::shared_ptr<platform::Window> window = platform::View::make<platform::Window>();
    std::shared_ptr<platform::NavigationController> navigation;
    std::vector<std::string> logLines;
};

}  // namespace locatingtest
