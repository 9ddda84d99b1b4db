#pragma once

// A screen that is nothing but a web view, on the fake school services, with the log kept.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/WebViewDelegate.h"
#include "platform/ui/Window.h"
#include "platform/web/ScriptDeadline.h"
#include "tests/support/SteppingClock.h"
#include "tests/support/WebPageScreen.h"

namespace pagetest {

using namespace platform;
using namespace std::chrono_literals;

class RecordingDelegate : public WebViewDelegate {
public:
    bool shouldStartLoadWithRequest(WebView&, const URLRequest& request,
                                    WebViewNavigationType type) override {
        asked.push_back(request.url);
        types.push_back(type);
        return refused.empty() || request.url.find(refused) == std::string::npos;
    }
    void didFailLoadWithError(WebView&, const WebError& error) override {
        if (error.code != WebError::kCancelled) {
            failures.push_back(error.failingURL);
        }
    }

    std::string refused;
    std::vector<std::string> asked;
    std::vector<WebViewNavigationType> types;
    std::vector<std::string> failures;
};

using PageScreen = testsupport::WebPageScreen;

class PageEngineTest : public ::testing::Test {
protected:
    PageEngineTest() {
        server.start();
        window->setRootViewController(screen);
        window->makeKeyAndVisible();
        web()->setDelegate(delegate);
        // Script time stands still unless a test says otherwise: no script of a test ends
        // for the machine being slow.
        ScriptDeadline::setClock(std::make_shared<ManualClock>());
        setLogSink([this](const std::string& line) {
            {
                std::lock_guard lock(m_logMutex);
                m_log.push_back(line);
            }
            if (onLog) {
                onLog(line);
            }
        });
    }
    ~PageEngineTest() override {
        setLogSink(nullptr);
        ScriptDeadline::setClock(nullptr);
    }

    std::shared_ptr<WebView> web() { return screen->webView; }

    // Serves the HTML at the path (under the fake services' address) and returns its URL.
    std::string serve(const std::string& path, const std::string& html) {
        server.setReply("GET", path, fakes::Reply{200, "text/html;charset=UTF-8", html});
        return server.baseUrl() + path;
    }

    bool settle() {
        return RunLoop::main().runUntil(
            [this] { return !web()->isLoading() && HttpClient::shared().inFlight() == 0; }, 5s);
    }

    void open(const std::string& url) {
        web()->loadRequest(URLRequest{url});
        ASSERT_TRUE(settle());
        ASSERT_TRUE(web()->hasPage()) << url;
    }

    std::string eval(const std::string& script) {
        return web()->stringByEvaluatingJavaScriptFromString(script);
    }

    // The shown item view whose outline line contains `line`.
    std::shared_ptr<View> viewOf(const std::string& line) {
        std::shared_ptr<View> found;
        std::function<void(const std::shared_ptr<View>&)> visit =
            [&](const std::shared_ptr<View>& view) {
                if (!found && !view->isHidden() &&
                    view->describe().find(line) != std::string::npos) {
                    found = view;
                    return;
                }
                for (const auto& child : view->subviews()) {
                    visit(child);
                }
            };
        visit(web()->scrollView());
        return found;
    }

    // That view's frame in the web view's coordinates; empty when none shows.
    Rect frameOf(const std::string& line) {
        auto view = viewOf(line);
        return view ? view->convertRectTo(view->bounds(), web().get()) : Rect{};
    }

    bool logged(const std::string& text) {
        std::lock_guard lock(m_logMutex);
        return std::any_of(m_log.begin(), m_log.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    }

    std::string logText() {
        std::lock_guard lock(m_logMutex);
        std::string text;
        for (const auto& line : m_log) {
            text += line + "\n";
        }
        return text;
    }

    bool outlineShows(const std::string& line) {
        return driver.outline().find(line) != std::string::npos;
    }

    // The address as the page's encodeURIComponent writes it.
    std::string urlEncodedBase() const {
        return "http%3A%2F%2F127.0.0.1%3A" + std::to_string(server.port());
    }

    // Declared first: it outlives everything else, so the views go before the phone resets.
    // A tall screen, so that the whole of the demo page shows at once.
    platform::testing::UiTestScope scope{Size{375, 2400}};
    fakes::FakeSchoolServices server;
    std::shared_ptr<PageScreen> screen = std::make_shared<PageScreen>();
    std::shared_ptr<Window> window = View::make<Window>();
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    platform::testing::UIDriver driver;
    // Hears every line logged (a page's console.log included) after it is kept; main thread.
    std::function<void(const std::string&)> onLog;

private:
    std::mutex m_logMutex;
    std::vector<std::string> m_log;
};

}  // namespace pagetest
