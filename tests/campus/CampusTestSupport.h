#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "client/ServiceConfig.h"
#include "components/hud/ProgressHUD.h"
#include "components/sidemenu/SideViewController.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/ScreenSize.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/support/TempHome.h"

namespace campustest {

class OpenerScreen : public platform::ViewController {};

// A campus screen on a fresh stand-in phone (manual clock), pushed from a screen inside a
// tab of the side-menu container as from the home page, talking to the fake services.
class CampusTest : public ::testing::Test {
protected:
    // The most a test waits for a web page to load or to answer.
    static constexpr double kPageBoundSeconds = 20;

    CampusTest() {
        server.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
    }
    ~CampusTest() override { ServiceConfig::shared().reload(); }

    // Builds the window on a screen of the given width (and the phone's height for it), with
    // the opener (or the given screen) at the root of the tab's stack.
    void showWindow(double width = 375, std::shared_ptr<platform::ViewController> root = {}) {
        platform::testing::useScreen(width, width == 320 ? 568 : width == 414 ? 736 : 667);
        window = platform::View::make<platform::Window>();
        navigation = std::make_shared<platform::NavigationController>(
            root ? std::move(root) : std::shared_ptr<platform::ViewController>(opener));
        tabs->setViewControllers({navigation});
        side->setRootViewController(tabs);
        side->setRightViewController(std::make_shared<platform::ViewController>());
        side->setNeedSwipeShowMenu(true);
        window->setRootViewController(side);
        window->makeKeyAndVisible();
        settle();
    }

    void push(const std::shared_ptr<platform::ViewController>& screen) {
        if (!navigation)
            showWindow();
        screen->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(screen, true);
        settle();
    }

    // Runs the clock past animations and handles the replies that have arrived.
    void settle(double seconds = 1) { scope.advance(seconds); }
    // Until no web view has work under way (its load, its scripts' effects: they come on later
    // turns of the loop), then the clock past animations. False when the pages did not come
    // to rest within the bound.
    bool settlePages(double seconds = 1) {
        const bool rested =
            driver.runUntil([] { return !platform::WebView::anyBusy(); }, kPageBoundSeconds).ok;
        settle(seconds);
        return rested;
    }
    bool waitFor(const std::function<bool()>& condition) {
        return driver.runUntil(condition, 10).ok;
    }
    // The client's requests and the web views' loads (theirs are not the client's requests).
    bool waitForReplies() {
        return driver
            .runUntil(
                [] {
                    return platform::HttpClient::shared().inFlight() == 0 &&
                           !platform::WebView::anyBusy();
                },
                kPageBoundSeconds)
            .ok;
    }

    // The labels of the overlays showing on the view (not hidden, still on it).
    static std::vector<std::string> overlayTexts(const platform::View& view) {
        std::vector<std::string> texts;
        for (const auto& subview : view.subviews()) {
            auto hud = std::dynamic_pointer_cast<platform::components::ProgressHUD>(subview);
            if (hud && hud->isShowing())
                texts.push_back(hud->labelText());
        }
        return texts;
    }
    std::vector<std::string> windowOverlays() const {
        return window ? overlayTexts(*window) : std::vector<std::string>{};
    }

    testsupport::TempHome home;
    fakes::FakeSchoolServices server;
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    std::shared_ptr<platform::Window> window;
    std::shared_ptr<platform::components::SideViewController> side =
        std::make_shared<platform::components::SideViewController>();
    std::shared_ptr<platform::TabBarController> tabs =
        std::make_shared<platform::TabBarController>();
    std::shared_ptr<OpenerScreen> opener = std::make_shared<OpenerScreen>();
    std::shared_ptr<platform::NavigationController> navigation;
};

}  // namespace campustest
