// The status bar a page sets, as the screen shows it: the client's light text until a page of
// the school's sends the dark style's command, and dark from then on, after the page has closed
// too, until a page asks for light text again. On the phone and on the tablet.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/ScreenSize.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/support/TempHome.h"
#include "tests/webcontainer/PageSettle.h"
#include "webcontainer/WebDetailViewController.h"

namespace {

constexpr const char* kPagePath = "/status-bar.html";
constexpr const char* kPage =
    "<html><head><title>状态栏</title></head><body>"
    "<p><a href=\"lanxi-bridge://StatusBarStyleDefault\">深色文字</a></p>"
    "<p><a href=\"lanxi-bridge://StatusBarStyleLightContent\">浅色文字</a></p>"
    "</body></html>";

class OpenerScreen : public platform::ViewController {};

struct StripInk {
    int white = 0;
    int black = 0;
};

class StatusBarStyleTest : public ::testing::TestWithParam<platform::Size> {
protected:
    StatusBarStyleTest() : scope(GetParam()) {
        if (GetParam().width > 700)
            platform::Application::shared().setUserInterfaceIdiom(
                platform::UserInterfaceIdiom::Pad);
        server.start();
        fakes::Reply page;
        page.contentType = "text/html; charset=utf-8";
        page.body = kPage;
        server.setReply("GET", kPagePath, page);
        ServiceConfig::shared().pointAllAt(server.baseUrl());
        platform::UserDefaults::resetStandard();
        navigation = std::make_shared<platform::NavigationController>(opener);
        // A grey bar, which fills the strip above it too: both inks show on it.
        navigation->navigationBar()->setBarTintColor(platform::Color::rgba(0.5, 0.5, 0.5));
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        // As the client does at launch.
        platform::Application::shared().setStatusBarStyle(platform::StatusBarStyle::LightContent);
    }
    ~StatusBarStyleTest() override {
        driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }, 10);
        server.stop();
        ServiceConfig::shared().reload();
        platform::UserDefaults::resetStandard();
    }

    void openPage() {
        page = std::make_shared<WebDetailViewController>();
        page->setTitleStr("状态栏");
        page->setUrlStr(server.baseUrl() + kPagePath);
        navigation->pushViewController(page, false);
        ASSERT_TRUE(driver.runUntil(
            [&] {
                return page->webView() && !page->webView()->isBusy() &&
                       platform::HttpClient::shared().inFlight() == 0;
            },
            pagesettle::kBound.count()));
        settle();
    }
    // The page asks for the link's command on a later turn.
    void tapOnPage(const std::string& link) {
        ASSERT_TRUE(driver.tap(link).ok) << link << "\n" << driver.outline();
        settle();
    }
    void settle() {
        ASSERT_TRUE(pagesettle::settleWeb());
        scope.advance(1);
        ASSERT_TRUE(pagesettle::settleWeb());
    }
    void closePage() {
        navigation->popViewController(false);
        scope.advance(1);
        page.reset();
    }

    // The status bar's strip as the screen shows it: its pixels near white and near black.
    StripInk strip() {
        window->layoutIfNeeded();
        const platform::Image picture = platform::renderScreenToImage(*window);
        StripInk ink;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < picture.pixelWidth(); ++x) {
                const std::uint32_t argb = picture.pixelAt(x, y);
                const int r = int((argb >> 16) & 0xFF);
                const int g = int((argb >> 8) & 0xFF);
                const int b = int(argb & 0xFF);
                if (r > 230 && g > 230 && b > 230)
                    ++ink.white;
                else if (r < 30 && g < 30 && b < 30)
                    ++ink.black;
            }
        }
        return ink;
    }

    testsupport::TempHome home;
    fakes::FakeSchoolServices server;
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    std::shared_ptr<platform::Window> window = platform::View::make<platform::Window>();
    std::shared_ptr<OpenerScreen> opener = std::make_shared<OpenerScreen>();
    std::shared_ptr<platform::NavigationController> navigation;
    std::shared_ptr<WebDetailViewController> page;
};

// Enough ink for the signal, the time and the battery together.
constexpr int kBarInk = 60;

TEST_P(StatusBarStyleTest, APagesDarkTextShowsAndOutlivesThePageUntilAPageAsksForLightText) {
    openPage();
    StripInk ink = strip();
    EXPECT_GT(ink.white, kBarInk) << "the client's light text before the page asks";
    EXPECT_EQ(ink.black, 0);

    tapOnPage("深色文字");
    ink = strip();
    EXPECT_GT(ink.black, kBarInk) << "dark text once the page sent the command";
    EXPECT_EQ(ink.white, 0);

    closePage();
    ASSERT_EQ(navigation->topViewController(), opener);
    ink = strip();
    EXPECT_GT(ink.black, kBarInk) << "the page's style stays after the page has closed";
    EXPECT_EQ(ink.white, 0);

    openPage();
    tapOnPage("浅色文字");
    ink = strip();
    EXPECT_GT(ink.white, kBarInk);
    EXPECT_EQ(ink.black, 0);
}

INSTANTIATE_TEST_SUITE_P(PhoneAndTablet, StatusBarStyleTest,
                         ::testing::Values(platform::Size{375, 667}, platform::Size{768, 1024}),
                         [](const auto& info) {
                             return info.param.width > 700 ? std::string("Tablet")
                                                           : std::string("Phone");
                         });

}  // namespace
