#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "client/CollectionViewCellModel.h"
#include "client/ServiceConfig.h"
#include "client/SignInState.h"
#include "components/hud/ProgressHUD.h"
#include "components/sidemenu/SideViewController.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarController.h"
#include "shell/AppDelegate.h"
#include "shell/HomePageViewController.h"
#include "shell/LoginViewController.h"
#include "tests/support/TempHome.h"

namespace hometest {

inline constexpr const char* kNewsPath = "/vobels/services/api/news/getNews.do";

// The client started as the program starts it, on a 375 x 667 phone with a manual clock and a
// data directory of its own, talking to the fake school services. The introduction has been
// seen and the app version is the bundle's, so the home page opens at once.
class HomeTest : public ::testing::Test {
protected:
    HomeTest() {
        server.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
        platform::UserDefaults::resetStandard();
        defaults().setBool(true, SignInKey::firstLaunch);
        defaults().setString(platform::Bundle::main().shortVersionString(),
                             SignInKey::appCurVersion);
    }
    ~HomeTest() override {
        delegate.reset();
        ServiceConfig::shared().reload();
        platform::UserDefaults::resetStandard();
    }

    static platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }

    // Launches and waits for the first page of news (and its thumbnails) to arrive.
    void launch() {
        delegate = AppDelegate::launchApplication();
        settle();
        ASSERT_TRUE(waitForQuiet()) << driver.outline();
    }

    // The home page at the root of the "新闻" tab.
    std::shared_ptr<HomePageViewController> home() const {
        auto nav = homeStack();
        return nav ? std::dynamic_pointer_cast<HomePageViewController>(
                         nav->viewControllers().front())
                   : nullptr;
    }
    std::shared_ptr<platform::NavigationController> homeStack() const {
        auto tabs = tabBarController();
        return tabs ? std::dynamic_pointer_cast<platform::NavigationController>(
                          tabs->viewControllers().front())
                    : nullptr;
    }
    std::shared_ptr<platform::TabBarController> tabBarController() const {
        return std::dynamic_pointer_cast<platform::TabBarController>(
            delegate->sideViewController()->rootViewController());
    }
    std::shared_ptr<platform::ViewController> topOfHomeStack() const {
        return homeStack()->topViewController();
    }
    std::shared_ptr<platform::ViewController> presented() const {
        return homeStack()->presentedViewController();
    }

    // Signed in as a user of the type, as the sign-in page leaves it.
    static void storeSignIn(const char* typeKey, const std::string& account) {
        defaults().setBool(true, SignInKey::isLogin);
        defaults().setString(account, SignInKey::UserId);
        if (typeKey)
            defaults().setBool(true, typeKey);
        defaults().synchronize();
    }
    static void storeTiles(const std::string& key, const TileList& tiles) {
        defaults().setData(archiveTileList(tiles), key);
        defaults().synchronize();
    }
    static std::shared_ptr<CollectionViewCellModel> tile(const std::string& title,
                                                         const std::string& method) {
        return std::make_shared<CollectionViewCellModel>(title, title, method);
    }

    // Moves the clock past animations and one-second toasts' start.
    void settle(double seconds = 0.5) { scope.advance(seconds); }
    // Every reply asked for so far has been handled.
    bool waitForQuiet() {
        return driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }, 10)
            .ok;
    }
    bool waitFor(const std::function<bool()>& condition) {
        return driver.runUntil(condition, 10).ok;
    }

    // The texts of the overlays now showing on the view.
    static std::vector<std::string> overlayTexts(const platform::View& view) {
        std::vector<std::string> texts;
        for (const auto& subview : view.subviews()) {
            auto hud = std::dynamic_pointer_cast<platform::components::ProgressHUD>(subview);
            if (hud && hud->isShowing())
                texts.push_back(hud->labelText());
        }
        return texts;
    }
    std::vector<std::string> homeToasts() const { return overlayTexts(*home()->view()); }

    testsupport::TempHome tempHome;
    fakes::FakeSchoolServices server;
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    std::shared_ptr<AppDelegate> delegate;
};

}  // namespace hometest
