#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "client/ServiceConfig.h"
#include "components/hud/ProgressHUD.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/ScreenSize.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Application.h"
#include "platform/ui/View.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "shell/AppDelegate.h"
#include "tests/support/TempHome.h"

namespace shelltest {

inline constexpr const char* kLoginPath = "/vobels/services/api/user/login.do";
inline constexpr const char* kUserInfoPath = "/manage/user/queryUserInfoForOldApp";

inline constexpr const char* kTeacher = "20050031";
inline constexpr const char* kTeacherPassword = "teacher123";

// Every case runs on a fresh stand-in phone (375 x 667, manual clock) with its own data
// directory, talking to the fake school services on loopback.
class ShellTest : public ::testing::Test {
protected:
    ShellTest() {
        server.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
        platform::UserDefaults::resetStandard();
    }
    ~ShellTest() override {
        // A case ends once every reply it asked for has been handled (held ones are sent when
        // the server stops), so that no reply reaches the next case's defaults or observers.
        server.stop();
        driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }, 10);
        delegate.reset();
        ServiceConfig::shared().reload();
        platform::UserDefaults::resetStandard();
    }

    static platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }

    // Starts the client as the program does, on a screen of the given size.
    std::shared_ptr<AppDelegate> launch(double width = 375, double height = 667) {
        platform::testing::useScreen(width, height);
        delegate = AppDelegate::launchApplication();
        settle();
        return delegate;
    }

    // Ends the process and starts it again on the same data directory: only what was
    // synchronised to disk is still there.
    std::shared_ptr<AppDelegate> relaunch(double width = 375, double height = 667) {
        delegate.reset();
        platform::Application::shared().reset();
        platform::UserDefaults::resetStandard();
        return launch(width, height);
    }

    // Lets the clock run past animations and the replies that have arrived be handled.
    void settle(double seconds = 1) { scope.advance(seconds); }

    bool waitFor(const std::function<bool()>& condition) {
        return driver.runUntil(condition, 10).ok;
    }
    // A page runs in its own process and reports back later: its first load starts a web
    // process (and, the first time, WebKit itself), so it is given longer than a reply.
    bool waitForWeb(const std::function<bool()>& condition) {
        return driver.runUntil(condition, kWebBoundSeconds).ok;
    }
    // Every web view has come to rest (its loads, and the effects of what was sent to its page
    // have come back) and every reply asked for has been handled.
    bool waitForWebRest() {
        return waitForWeb([] {
            return !platform::WebView::anyBusy() && platform::HttpClient::shared().inFlight() == 0;
        });
    }
    static constexpr double kWebBoundSeconds = 30;

    std::vector<fakes::RecordedRequest> signInRequests() const {
        return server.requestsTo(kLoginPath);
    }

    // The texts of the overlays showing on the view right now.
    static std::vector<std::string> overlayTexts(const platform::View& view) {
        std::vector<std::string> texts;
        for (const auto& subview : view.subviews()) {
            auto hud = std::dynamic_pointer_cast<platform::components::ProgressHUD>(subview);
            if (hud && hud->isShowing()) {
                texts.push_back(hud->labelText());
            }
        }
        return texts;
    }
    std::vector<std::string> windowToasts() const {
        auto window = platform::Application::shared().keyWindow();
        return window ? overlayTexts(*window) : std::vector<std::string>{};
    }

    testsupport::TempHome tempHome;
    fakes::FakeSchoolServices server;
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    std::shared_ptr<AppDelegate> delegate;
};

// Records the names of the notifications posted while it lives, in order.
class NotificationLog {
public:
    explicit NotificationLog(std::vector<std::string> names) {
        for (const auto& name : names) {
            m_ids.push_back(platform::NotificationCenter::defaultCenter().addObserver(
                name, [this](const platform::Notification& n) { posted.push_back(n.name); }));
        }
    }
    ~NotificationLog() {
        for (auto id : m_ids) {
            platform::NotificationCenter::defaultCenter().removeObserver(id);
        }
    }
    NotificationLog(const NotificationLog&) = delete;
    NotificationLog& operator=(const NotificationLog&) = delete;

    bool saw(const std::string& name) const {
        return std::find(posted.begin(), posted.end(), name) != posted.end();
    }

    std::vector<std::string> posted;

private:
    std::vector<platform::NotificationCenter::ObserverId> m_ids;
};

}  // namespace shelltest
