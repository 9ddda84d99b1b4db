// No page takes the web container down: a page whose process passes its memory, or stops
// answering, is ended and the container shows its fail view, whose reload brings the page back
// once the school serves a sound one; and a page the user leaves stops its work.

#include <gtest/gtest.h>
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "platform/web/WebError.h"
#include "tests/support/TempHome.h"
#include "tests/webcontainer/ContainerStage.h"
#include "tests/webcontainer/PageSettle.h"
#include "webcontainer/WebDetailViewController.h"

namespace {

// Before the engine loads (when this binary starts): a limit a page passes quickly. The
// engine reads it once, when the first web view is made.
const bool kLimitSet = [] {
    setenv("CAMPUS_WEB_MEMORY_MB", "256", 1);
    return true;
}();

constexpr const char* kPagePath = "/CM/limits.html";
constexpr const char* kSoundTitle = "签到记录";
constexpr const char* kSoundText = "今日已签到";
constexpr const char* kSoundPage =
    "<html><head><title>签到记录</title></head><body><p>今日已签到</p></body></html>";

// Takes more and more memory, in steps a turn apart, so that the limit's checks see it grow;
// it stops at three times the limit, so that a client without one fails the test rather than
// the machine.
constexpr const char* kHungryPage =
    "<html><head><title>相册</title></head><body><p>加载相册</p><script>var kept = [];"
    "setInterval(function () { for (var i = 0; i < 2 && kept.length < 192; i++) "
    "kept.push(new Uint8Array(4 << 20).fill(7)); }, 10);</script></body></html>";

// Shows itself, then a script of it never ends.
constexpr const char* kHangingPage =
    "<html><head><title>统计</title></head><body><p>正在统计</p><script>"
    "window.addEventListener('load', function () { setTimeout(function () { for (;;) {} }, 0); "
    "});</script></body></html>";

// Keeps a CPU busy in slices (each short enough that the process still answers between them)
// and, after each, asks the server for `path`: the server hears how long the page works.
std::string busyPage(const std::string& title, const std::string& path) {
    return "<html><head><title>" + title + "</title></head><body><p>" + title +
           "</p><script>var n = 0;"
           "function work() {"
           "  var end = performance.now() + 30; while (performance.now() < end) {}"
           "  fetch('" +
           path +
           "?n=' + (++n), {cache: 'no-store'}).catch(function () {});"
           "  setTimeout(work, 10);"
           "}"
           "work();</script></body></html>";
}

// A page whose timer asks for `path` every 20 ms: while its requests keep coming, pages'
// timers run and their requests reach the server.
std::string witnessPage(const std::string& path, const std::string& body = "") {
    return "<html><head><title>见证</title></head><body>" + body +
           "<script>var n = 0;"
           "setInterval(function () { fetch('" +
           path +
           "?n=' + (++n), {cache: 'no-store'}).catch(function () {}); }, 20);"
           "</script></body></html>";
}

// Asks the container for a stored value and never returns from the answer.
constexpr const char* kSpinningPage =
    "<html><head><title>统计</title></head><body><p>正在统计</p><script>"
    "function callback(reply) { for (;;) {} }"
    "location.href = 'lanxi-bridge://getStorage=' + "
    "encodeURIComponent(JSON.stringify({key: 'k'}));</script></body></html>";

// The web processes this process started (through bubblewrap) that are alive now, with the
// CPU each has used, in clock ticks.
std::map<pid_t, long long> liveWebProcesses() {
    struct Process {
        pid_t parent = 0;
        std::string name;
        char state = '?';
        long long cpu = 0;
    };
    std::map<pid_t, Process> all;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream file(entry.path() / "stat");
        std::string line;
        if (!std::getline(file, line))
            continue;
        // The name is in parentheses and may hold spaces; state, parent, then user and system
        // time as the 14th and 15th fields.
        const auto open = line.find('(');
        const auto close = line.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close < open)
            continue;
        Process process;
        process.name = line.substr(open + 1, close - open - 1);
        std::istringstream rest(line.substr(close + 2));
        long long skip = 0, user = 0, system = 0;
        rest >> process.state >> process.parent;
        for (int field = 5; field <= 13; ++field) rest >> skip;
        rest >> user >> system;
        process.cpu = user + system;
        all[pid_t(std::stol(name))] = process;
    }
    std::map<pid_t, long long> web;
    for (const auto& [pid, process] : all) {
        if (process.name.rfind("WebKitWebProces", 0) != 0 || process.state == 'Z')
            continue;
        for (pid_t up = process.parent; up > 1 && all.count(up); up = all[up].parent) {
            if (up == getpid()) {
                web[pid] = process.cpu;
                break;
            }
        }
    }
    return web;
}

fakes::Reply htmlReply(std::string body) {
    fakes::Reply reply;
    reply.contentType = "text/html; charset=utf-8";
    reply.body = std::move(body);
    return reply;
}

using containerstage::OpenerScreen;

class PageLimitsTest : public ::testing::Test, protected containerstage::ContainerStage {
protected:
    PageLimitsTest() {
        server.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
        platform::UserDefaults::resetStandard();
        fakes::Reply empty;
        empty.contentType = "text/plain";
        for (const char* path : {"/CM/tick", "/CM/witness"}) server.setReply("GET", path, empty);
        navigation = std::make_shared<platform::NavigationController>(opener);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }
    ~PageLimitsTest() override {
        // The pages go first, so that their requests stop before the server does.
        navigation.reset();
        window.reset();
        driver.runUntil([] { return platform::HttpClient::shared().inFlight() == 0; }, 10);
        server.stop();
        ServiceConfig::shared().reload();
        platform::UserDefaults::resetStandard();
    }

    // As the home page opens a school page; its load is left to come.
    std::shared_ptr<WebDetailViewController> open(const std::string& path, const char* title) {
        auto page = std::make_shared<WebDetailViewController>();
        page->setHidesBottomBarWhenPushed(true);
        page->setTitleStr(title);
        page->setUrlStr(server.baseUrl() + path);
        navigation->pushViewController(page, true);
        scope.advance(1);
        return page;
    }
    bool waitFor(const std::function<bool()>& condition) {
        return driver.runUntil(condition, kBoundSeconds).ok;
    }
    // For a condition that nothing posted to the main loop tells of (what /proc shows): looked
    // at every few milliseconds while the loop runs.
    bool pollFor(const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(long(kBoundSeconds * 1000));
        while (!platform::RunLoop::main().runUntil(condition, std::chrono::milliseconds(10))) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
        }
        return true;
    }
    std::size_t requestsTo(const char* path) const { return server.requestsTo(path).size(); }
    static std::string lastError(const WebDetailViewController& page) {
        const auto& error = page.webView()->lastError();
        return error ? std::to_string(error->code) + " " + error->description : "none";
    }

    // The fail view shows over the page, and its reload loads the address the page was opened
    // with again: the school serves a sound page there now, and it is shown.
    void expectReloadShowsTheSoundPage(WebDetailViewController& page) {
        ASSERT_TRUE(driver.findByHandle("reload")) << driver.outline();
        server.setReply("GET", kPagePath, htmlReply(kSoundPage));
        server.clearRequests();
        ASSERT_TRUE(driver.tap("reload").ok) << driver.outline();
        EXPECT_FALSE(page.isFailViewShowing());
        ASSERT_TRUE(waitFor([&] {
            return page.webView()->pageTitle() == kSoundTitle && !page.webView()->isBusy();
        })) << lastError(page);
        EXPECT_EQ(requestsTo(kPagePath), 1u);
        EXPECT_FALSE(page.isFailViewShowing());
        ASSERT_TRUE(pagesettle::settleWeb());
        EXPECT_TRUE(driver.find(kSoundText)) << driver.outline();
    }

    // A page is given this long to load, to be ended, or to show its work; a web process
    // starts slowly on a loaded machine.
    static constexpr double kBoundSeconds = 60;
};

// --- A page past its limits ----------------------------------------------------------------

TEST_F(PageLimitsTest, APagePastItsMemoryShowsTheFailViewAndReloadShowsTheSoundPage) {
    ASSERT_TRUE(kLimitSet);
    server.setReply("GET", kPagePath, htmlReply(kHungryPage));
    auto page = open(kPagePath, "相册");
    ASSERT_TRUE(waitFor([&] { return page->isFailViewShowing(); })) << lastError(*page) << "\n"
                                                                    << driver.outline();
    ASSERT_TRUE(page->webView()->lastError());
    EXPECT_EQ(page->webView()->lastError()->code, platform::WebError::kWebProcessEnded);
    // The memory limit ended it, not the watchdog.
    EXPECT_EQ(page->webView()->lastError()->description, "the page used too much memory");
    // Nothing of the page is left to tap.
    EXPECT_FALSE(driver.find("加载相册")) << driver.outline();

    expectReloadShowsTheSoundPage(*page);
}

TEST_F(PageLimitsTest, APageThatStopsAnsweringShowsTheFailViewAndReloadShowsTheSoundPage) {
    server.setReply("GET", kPagePath, htmlReply(kHangingPage));
    auto page = open(kPagePath, "统计");
    ASSERT_TRUE(waitFor([&] { return page->isFailViewShowing(); })) << lastError(*page) << "\n"
                                                                    << driver.outline();
    ASSERT_TRUE(page->webView()->lastError());
    EXPECT_EQ(page->webView()->lastError()->code, platform::WebError::kWebProcessEnded);
    EXPECT_EQ(page->webView()->lastError()->description, "the page stopped answering");
    EXPECT_FALSE(driver.find("正在统计")) << driver.outline();
    // The screen answers the user all along.
    EXPECT_EQ(navigation->topViewController(), page);

    expectReloadShowsTheSoundPage(*page);
}

// --- Leaving a page ------------------------------------------------------------------------

// Whether a page the user left still works is told by its requests: a witness page that keeps
// asking, loaded after the user left, shows that pages' timers run and reach the server; the
// page left must not be heard meanwhile. The witness's first requests come well after the page
// left was closed (its web view goes before the witness is made), so a request of the page left
// still on its way has arrived by then.
class LeavingTest : public PageLimitsTest {
protected:
    // Waits for `witness` requests to start, then for `kWitnessed` more, and says how many
    // requests of the page left arrived meanwhile.
    std::size_t ticksWhileWitnessed(const char* witness) {
        const std::size_t start = requestsTo(witness) + kWitnessWarmUp;
        EXPECT_TRUE(waitFor([&] { return requestsTo(witness) >= start; }));
        const std::size_t ticks = requestsTo("/CM/tick");
        EXPECT_TRUE(waitFor([&] { return requestsTo(witness) >= start + kWitnessed; }));
        return requestsTo("/CM/tick") - ticks;
    }

    static constexpr std::size_t kWitnessWarmUp = 5;
    // At the witness's 20 ms against the busy page's 40 ms, about 15 requests of the busy page
    // would come in the meantime were it still at work.
    static constexpr std::size_t kWitnessed = 30;
};

TEST_F(LeavingTest, BackOffTheContainerEndsTheWorkOfItsPage) {
    server.setReply("GET", kPagePath, htmlReply(busyPage("忙碌", "/CM/tick")));
    auto page = open(kPagePath, "忙碌");
    ASSERT_TRUE(waitFor([&] { return requestsTo("/CM/tick") >= 3; })) << lastError(*page);
    ASSERT_FALSE(page->webView()->canGoBack());

    ASSERT_TRUE(driver.back().ok) << driver.outline();
    scope.advance(1);
    ASSERT_EQ(navigation->topViewController(), opener);
    page.reset();

    server.setReply("GET", "/CM/witness.html", htmlReply(witnessPage("/CM/witness")));
    auto witness = open("/CM/witness.html", "见证");
    EXPECT_EQ(ticksWhileWitnessed("/CM/witness"), 0u);
}

TEST_F(LeavingTest, BackThroughThePagesHistoryEndsTheWorkOfThePageLeft) {
    // The first page keeps asking for the witness route while it is shown.
    server.setReply(
        "GET", kPagePath,
        htmlReply(witnessPage("/CM/witness", "<p><a href=\"/CM/busy.html\">统计中心</a></p>")));
    server.setReply("GET", "/CM/busy.html", htmlReply(busyPage("忙碌", "/CM/tick")));
    auto page = open(kPagePath, "首页");
    ASSERT_TRUE(waitFor([&] { return !page->webView()->isBusy() && driver.find("统计中心"); }))
        << lastError(*page) << "\n"
        << driver.outline();
    ASSERT_TRUE(driver.tap("统计中心").ok) << driver.outline();
    ASSERT_TRUE(waitFor([&] { return requestsTo("/CM/tick") >= 3; })) << lastError(*page);
    ASSERT_EQ(page->webView()->pageTitle(), "忙碌");

    ASSERT_TRUE(driver.back().ok) << driver.outline();
    ASSERT_TRUE(waitFor([&] { return page->webView()->pageTitle() == "见证"; }))
        << page->webView()->pageTitle();
    EXPECT_EQ(navigation->topViewController(), page);
    EXPECT_EQ(ticksWhileWitnessed("/CM/witness"), 0u);
}

// A script that never ends does not hear that its page is closed: its process is ended when
// the user leaves, not left to spin until WebKit gives up on it.
TEST_F(LeavingTest, BackFromAPageWhoseScriptNeverEndsEndsItsProcess) {
    const auto before = liveWebProcesses();
    server.setReply("GET", kPagePath, htmlReply(kSpinningPage));
    auto page = open(kPagePath, "统计");
    // The container's answer is on its way to the page, ahead of anything the page hears after
    // it: the page is spinning when it is told that it closes.
    ASSERT_TRUE(waitFor([&] {
        for (const auto& script : page->webView()->evaluatedScripts()) {
            if (script.starts_with("callback("))
                return true;
        }
        return false;
    })) << lastError(*page);
    // The page's process: the one its load started.
    pid_t spinning = 0;
    long long most = -1;
    for (const auto& [pid, cpu] : liveWebProcesses()) {
        if (!before.count(pid) && cpu > most) {
            spinning = pid;
            most = cpu;
        }
    }
    ASSERT_NE(spinning, 0);

    ASSERT_TRUE(driver.back().ok) << driver.outline();
    scope.advance(1);
    ASSERT_EQ(navigation->topViewController(), opener);
    page.reset();

    server.setReply("GET", "/CM/witness.html", htmlReply(witnessPage("/CM/witness")));
    auto witness = open("/CM/witness.html", "见证");
    const std::size_t enough = kWitnessWarmUp + kWitnessed;
    pollFor(
        [&] { return !liveWebProcesses().count(spinning) || requestsTo("/CM/witness") >= enough; });
    EXPECT_FALSE(liveWebProcesses().count(spinning))
        << "the page's process was still there after " << requestsTo("/CM/witness")
        << " requests of the page opened after it";
    // The witness is let come to its work: a load still asking its way when the server stops
    // would keep the server waiting on the connection WebKit opened ahead of it.
    EXPECT_TRUE(waitFor([&] { return requestsTo("/CM/witness") >= 1; }));
}

}  // namespace
