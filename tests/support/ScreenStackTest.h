#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "client/ServiceConfig.h"
#include "components/hud/ProgressHUD.h"
#include "components/sidemenu/SideViewController.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "tests/support/TempHome.h"

namespace screentest {

// A stand-in phone (manual clock) showing the side-menu container with a navigation stack at
// its root, as the home tab has it, talking to the fake school services on loopback. A case
// pushes its screen onto the stack the way the home page does.
class ScreenStackTest : public ::testing::Test {
protected:
    explicit ScreenStackTest(platform::Size screen = {375, 667}) : scope(screen) {
        server.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
        platform::UserDefaults::resetStandard();
        navigation = std::make_shared<platform::NavigationController>(opener);
        side = std::make_shared<platform::components::SideViewController>();
        side->setRootViewController(navigation);
        side->setRightViewController(std::make_shared<platform::ViewController>());
        // On, as the home page leaves it: a screen that must switch it off is seen to.
        side->setNeedSwipeShowMenu(true);
        window->setRootViewController(side);
        window->makeKeyAndVisible();
        settle();
    }
    ~ScreenStackTest() override {
        ServiceConfig::shared().reload();
        platform::UserDefaults::resetStandard();
    }

    // Pushes the screen and waits until every request it started has been answered.
    void open(const std::shared_ptr<platform::ViewController>& screen) {
        navigation->pushViewController(screen, true);
        settle();
        ASSERT_TRUE(quiet()) << driver.outline();
    }

    // Lets the clock run past animations, and posted work run.
    void settle(double seconds = 0.5) { scope.advance(seconds); }
    // No request is on its way and every reply has been handled.
    bool quiet() {
        const bool done =
            driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }).ok;
        settle();
        return done;
    }

    // Whether the fake server holds that many requests to the path (see holdReplies).
    bool held(const char* path, std::size_t count) {
        return server.waitForHeld(path, count, std::chrono::seconds(10));
    }

    // The texts of the loading overlays showing on the view.
    static std::vector<std::string> overlayTexts(const platform::View& view) {
        std::vector<std::string> texts;
        for (const auto& subview : view.subviews()) {
            auto hud = std::dynamic_pointer_cast<platform::components::ProgressHUD>(subview);
            if (hud && hud->isShowing())
                texts.push_back(hud->labelText());
        }
        return texts;
    }

    testsupport::TempHome tempHome;
    fakes::FakeSchoolServices server;
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    std::shared_ptr<platform::Window> window = platform::View::make<platform::Window>();
    // The screen at the bottom of the stack, as the home page is.
    std::shared_ptr<platform::ViewController> opener = std::make_shared<platform::ViewController>();
    std::shared_ptr<platform::NavigationController> navigation;
    std::shared_ptr<platform::components::SideViewController> side;
};

}  // namespace screentest
