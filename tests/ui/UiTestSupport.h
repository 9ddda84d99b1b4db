#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace uitest {

// Every UI test starts from a fresh application, screen, keyboard and alerts, on a manual
// clock; the scope outlives the test's own members, so they go before it resets.
class UiTest : public ::testing::Test {
protected:
    void advance(double seconds) { m_scope.advance(seconds); }

    // A visible key window of the screen's size with `root` at its root.
    std::shared_ptr<platform::Window> showWindow(std::shared_ptr<platform::ViewController> root) {
        auto window = platform::View::make<platform::Window>();
        window->setRootViewController(std::move(root));
        window->makeKeyAndVisible();
        return window;
    }

    platform::testing::UiTestScope m_scope;
};

// A screen that writes its life-cycle callbacks, as "name.event", into a shared log.
class RecordingController : public platform::ViewController {
public:
    RecordingController(std::string name, std::shared_ptr<std::vector<std::string>> log)
        : m_name(std::move(name)), m_log(std::move(log)) {}

    void viewDidLoad() override { record("didLoad"); }
    void viewWillAppear(bool) override { record("willAppear"); }
    void viewDidAppear(bool) override { record("didAppear"); }
    void viewWillDisappear(bool) override { record("willDisappear"); }
    void viewDidDisappear(bool) override { record("didDisappear"); }

private:
    void record(const std::string& event) { m_log->push_back(m_name + "." + event); }

    std::string m_name;
    std::shared_ptr<std::vector<std::string>> m_log;
};

using Log = std::vector<std::string>;

// A screen that turns with the phone, whichever way.
class TurningPage : public platform::ViewController {
public:
    platform::InterfaceOrientationMask supportedInterfaceOrientations() const override {
        return platform::OrientationMask::All;
    }
};

}  // namespace uitest
