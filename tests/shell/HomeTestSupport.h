#pragma once

#include <memory>
#include <string>

#include "client/CollectionViewCellModel.h"
#include "client/SignInState.h"
#include "components/sidemenu/SideViewController.h"
#include "components/webimage/WebImageManager.h"
#include "platform/foundation/Bundle.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarController.h"
#include "shell/HomePageViewController.h"
#include "signin/LoginViewController.h"
#include "tests/shell/ShellTestSupport.h"

namespace hometest {

inline constexpr const char* kNewsPath = "/vobels/services/api/news/getNews.do";

// The shell test with the introduction seen and the app version the bundle's, so the home page
// opens at once.
class HomeTest : public shelltest::ShellTest {
protected:
    HomeTest() {
        defaults().setBool(true, SignInKey::firstLaunch);
        defaults().setString(platform::Bundle::main().shortVersionString(),
                             SignInKey::appCurVersion);
    }

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

    // Moves the clock past animations but not past a one-second toast.
    void settle(double seconds = 0.5) { ShellTest::settle(seconds); }
    // Every reply asked for so far has been handled, and every web page has come to rest.
    bool waitForQuiet() { return waitForWebRest(); }
    // Waits for the screen's replies and pictures, and lets its animations end: what shows
    // then stands still until something is done to it.
    void settleScreen() {
        ASSERT_TRUE(waitForWeb([] {
            auto window = platform::Application::shared().keyWindow();
            return platform::HttpClient::shared().inFlight() == 0 &&
                   !platform::WebView::anyBusy() && (!window || !waitsForAPicture(*window));
        })) << driver.outline();
        settle(2);
    }
    static bool waitsForAPicture(const platform::View& view) {
        auto* image = dynamic_cast<const platform::ImageView*>(&view);
        if (image && !platform::components::WebImageManager::shared().pendingURL(*image).empty())
            return true;
        for (const auto& subview : view.subviews()) {
            if (waitsForAPicture(*subview))
                return true;
        }
        return false;
    }
    std::vector<std::string> homeToasts() const { return overlayTexts(*home()->view()); }
};

}  // namespace hometest
