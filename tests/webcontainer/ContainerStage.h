#pragma once

// What a test of the web container stands on: a data directory of its own, the school's fake
// services, the UI's test scope and driver, and a key window whose opener screen pushes the
// container, as the client's screens do.

#include <memory>

#include "fakes/FakeSchoolServices.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/support/TempHome.h"
#include "webcontainer/WebDetailViewController.h"

namespace containerstage {

class OpenerScreen : public platform::ViewController {};

// A test fixture's base, after ::testing::Test: built before the fixture's own constructor runs,
// and gone after it.
struct ContainerStage {
    testsupport::TempHome home;
    fakes::FakeSchoolServices server;
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    std::shared_ptr<platform::Window> window = platform::View::make<platform::Window>();
    std::shared_ptr<OpenerScreen> opener = std::make_shared<OpenerScreen>();
    std::shared_ptr<platform::NavigationController> navigation;
    std::shared_ptr<WebDetailViewController> page;
};

}  // namespace containerstage
