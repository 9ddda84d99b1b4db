// The web container as a screen: back through the page's history, the load progress line, the
// loading overlay, the fail view and its reload, the frames and what it does as it appears and
// goes. The command bridge has tests of its own.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "client/SignInState.h"
#include "components/hud/ProgressHUD.h"
#include "components/webprogress/WebViewProgressView.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/WebView.h"
#include "signin/LoginViewController.h"
#include "tests/shell/ShellTestSupport.h"
#include "webcontainer/WebDetailViewController.h"

namespace {

using platform::components::WebViewProgressView;

constexpr const char* kAttendance = "/CM/login.html";
constexpr const char* kRecords = "/CM/records.html";
// An address on the loopback where nothing listens: a load there fails at once. The port is
// one the system just gave out and took back, not one of the low ports that browsers refuse
// to use at all.
std::string deadAddress() {
    static const std::string address = [] {
        int port = 0;
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) == 0)
            port = ntohs(addr.sin_port);
        if (fd >= 0)
            ::close(fd);
        return "http://127.0.0.1:" + std::to_string(port) + "/CM/login.html";
    }();
    return address;
}

class OpenerScreen : public platform::ViewController {};
class PushedScreen : public platform::ViewController {};

// Collects what is logged while it lives.
class LogCapture {
public:
    LogCapture() {
        platform::setLogSink([this](const std::string& line) {
            std::lock_guard lock(m_mutex);
            m_lines.push_back(line);
        });
    }
    ~LogCapture() { platform::setLogSink(nullptr); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

class WebContainerPageTest : public shelltest::ShellTest {
protected:
    WebContainerPageTest() { makeWindow(); }

    void makeWindow() {
        window = platform::View::make<platform::Window>();
        opener = std::make_shared<OpenerScreen>();
        navigation = std::make_shared<platform::NavigationController>(opener);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }

    // As the home page opens it.
    std::shared_ptr<WebDetailViewController> open(const std::string& url,
                                                  const std::string& title = "移动考勤") {
        auto page = std::make_shared<WebDetailViewController>();
        page->setHidesBottomBarWhenPushed(true);
        page->setTitleStr(title);
        page->setUrlStr(url);
        navigation->pushViewController(page, true);
        return page;
    }
    std::string attendanceUrl() const { return server.baseUrl() + kAttendance; }

    // The page's load (or its failure) and what it started have come back.
    bool waitForLoad(const WebDetailViewController& page) {
        return waitForWeb([&] {
            return !page.webView()->isBusy() && platform::HttpClient::shared().inFlight() == 0;
        });
    }
    // The server holds `count` replies of the route. The page's requests go out only once the
    // main loop has let WebKit's navigation go, so the loop runs meanwhile.
    bool awaitHeld(const char* path, std::size_t count) {
        return waitForWeb([&] { return server.heldRequests(path).size() >= count; });
    }
    std::shared_ptr<WebDetailViewController> openAndLoad() {
        auto page = open(attendanceUrl());
        EXPECT_TRUE(waitForLoad(*page));
        settle();
        return page;
    }
    static size_t failViewsIn(const platform::WebView& webView,
                              const std::shared_ptr<platform::View>& failView) {
        size_t count = 0;
        for (const auto& subview : webView.subviews()) count += subview == failView ? 1 : 0;
        return count;
    }
    std::shared_ptr<WebViewProgressView> lineInBar() const {
        for (const auto& subview : navigation->navigationBar()->subviews()) {
            if (auto line = std::dynamic_pointer_cast<WebViewProgressView>(subview))
                return line;
        }
        return nullptr;
    }

    std::shared_ptr<platform::Window> window;
    std::shared_ptr<OpenerScreen> opener;
    std::shared_ptr<platform::NavigationController> navigation;
};

// --- Back -------------------------------------------------------------------------------

TEST_F(WebContainerPageTest, BackReturnsOnePageOfTheHistoryPerTapAndThenLeavesTheScreen) {
    auto page = openAndLoad();
    ASSERT_TRUE(driver.tap("签到记录")) << driver.outline();
    ASSERT_TRUE(waitFor([&] { return page->webView()->pageTitle() == "签到记录"; }));
    ASSERT_TRUE(waitForLoad(*page));
    ASSERT_TRUE(driver.tap("返回考勤"));
    ASSERT_TRUE(waitFor([&] { return page->webView()->pageTitle() == "移动考勤"; }));
    ASSERT_TRUE(waitForLoad(*page));

    // The screen's own button, not the bar's system back button, holds the left place.
    auto item = page->navigationItem().leftBarButtonItem();
    ASSERT_TRUE(item);
    auto button = std::dynamic_pointer_cast<platform::Button>(item->customView());
    ASSERT_TRUE(button);
    EXPECT_NEAR(button->frame().size.width, 25 / 0.9, 1e-9);
    EXPECT_NEAR(button->frame().size.height, 21 / 0.9, 1e-9);
    EXPECT_FALSE(button->backgroundImage(platform::ControlState::Normal).isNull());
    EXPECT_FALSE(button->backgroundImage(platform::ControlState::Highlighted).isNull());

    ASSERT_TRUE(driver.back());
    ASSERT_TRUE(waitFor([&] { return page->webView()->pageTitle() == "签到记录"; }));
    ASSERT_TRUE(waitForLoad(*page));
    EXPECT_EQ(navigation->topViewController(), page);

    ASSERT_TRUE(driver.back());
    ASSERT_TRUE(waitFor([&] { return page->webView()->pageTitle() == "移动考勤"; }));
    ASSERT_TRUE(waitForLoad(*page));
    EXPECT_EQ(navigation->topViewController(), page);
    EXPECT_FALSE(page->webView()->canGoBack());

    ASSERT_TRUE(driver.back());
    settle();
    EXPECT_EQ(navigation->topViewController(), opener);
}

TEST_F(WebContainerPageTest, BackWhileTheFirstPageLoadsTakesTheOverlayAndLeaves) {
    server.holdReplies("GET", kAttendance);
    auto page = open(attendanceUrl());
    settle();
    ASSERT_TRUE(page->loadingOverlay());

    ASSERT_TRUE(driver.back());
    EXPECT_FALSE(page->loadingOverlay());
    settle();
    EXPECT_EQ(navigation->topViewController(), opener);
}

// --- Loading overlay --------------------------------------------------------------------

TEST_F(WebContainerPageTest, TheOverlayOfAPageThatDoesNotAnswerGoesAfterTwentySeconds) {
    // The page has begun to come (so its load does not time out after ten seconds) but does
    // not finish: its picture is held.
    constexpr const char* kSlowPage = "/CM/slow.html";
    constexpr const char* kPicture = "/CM/banner.png";
    server.setReply("GET", kSlowPage,
                    {200, "text/html;charset=UTF-8",
                     "<html><head><title>移动考勤</title></head>"
                     "<body><img src=\"banner.png\"><p>签到</p></body></html>"});
    server.holdReplies("GET", kPicture);
    auto page = open(server.baseUrl() + kSlowPage);
    ASSERT_TRUE(awaitHeld(kPicture, 1));
    ASSERT_TRUE(page->webView()->isLoading());
    // The page has begun to show by then (WebKit tells so on its own thread): its load's
    // time-out is over before the clock moves.
    ASSERT_TRUE(waitForWeb([&] { return page->webView()->hasPage(); }));

    scope.advance(WebDetailViewController::kOverlaySeconds - 0.1);
    auto overlay = page->loadingOverlay();
    ASSERT_TRUE(overlay);
    EXPECT_EQ(overlay->labelText(), "加载中");
    EXPECT_EQ(shelltest::ShellTest::overlayTexts(*page->view()),
              std::vector<std::string>{"加载中"});

    scope.advance(0.2);
    EXPECT_FALSE(page->loadingOverlay());
    EXPECT_TRUE(shelltest::ShellTest::overlayTexts(*page->view()).empty());

    // The page still comes when it answers; the overlay does not come back.
    ASSERT_TRUE(server.releaseHeld(kPicture));
    ASSERT_TRUE(waitForLoad(*page));
    EXPECT_EQ(page->webView()->pageTitle(), "移动考勤");
    EXPECT_FALSE(page->loadingOverlay());
}

TEST_F(WebContainerPageTest, TheOverlayShowsOnceAndGoesWhenTheFirstPageFinishes) {
    server.holdReplies("GET", kAttendance);
    auto page = open(attendanceUrl());
    ASSERT_TRUE(awaitHeld(kAttendance, 1));
    settle(5);
    ASSERT_TRUE(page->loadingOverlay());

    ASSERT_TRUE(server.releaseHeld(kAttendance));
    ASSERT_TRUE(waitForLoad(*page));
    EXPECT_FALSE(page->loadingOverlay());
    EXPECT_EQ(page->webView()->scrollView()->contentOffset().y, 0);

    // Later loads of the page (a link followed) show the progress line, not the overlay.
    server.holdReplies("GET", kRecords);
    ASSERT_TRUE(driver.tap("签到记录"));
    ASSERT_TRUE(awaitHeld(kRecords, 1));
    // WebKit tells of the load's start on its own thread; the request may reach the server
    // first.
    ASSERT_TRUE(waitForWeb([&] { return page->webView()->isLoading(); }));
    settle();
    EXPECT_TRUE(page->webView()->isLoading());
    EXPECT_FALSE(page->loadingOverlay());
    EXPECT_TRUE(shelltest::ShellTest::overlayTexts(*page->view()).empty());
    ASSERT_TRUE(server.releaseHeld(kRecords));
    ASSERT_TRUE(waitForLoad(*page));
}

// --- Load progress line -----------------------------------------------------------------

TEST_F(WebContainerPageTest, TheProgressLineFollowsTheLoadAndFadesOnceItIsFull) {
    server.holdReplies("GET", kAttendance);
    auto page = open(attendanceUrl());
    ASSERT_TRUE(awaitHeld(kAttendance, 1));
    // The load's start comes from WebKit's thread, maybe after its request went out.
    ASSERT_TRUE(waitForWeb([&] { return page->progressView()->isShowingProgress(); }));
    settle();

    auto line = lineInBar();
    ASSERT_TRUE(line) << driver.outline();
    EXPECT_EQ(line, page->progressView());
    // Along the bar's bottom edge, its whole width.
    const platform::Rect bar = navigation->navigationBar()->bounds();
    EXPECT_EQ(line->frame().origin.y, bar.size.height - 2);
    EXPECT_EQ(line->frame().size.height, 2);
    EXPECT_EQ(line->frame().size.width, bar.size.width);
    EXPECT_FLOAT_EQ(line->progress(), 0.1f);
    EXPECT_TRUE(line->isShowingProgress());

    ASSERT_TRUE(server.releaseHeld(kAttendance));
    ASSERT_TRUE(waitForLoad(*page));
    EXPECT_FLOAT_EQ(line->progress(), 1.0f);
    EXPECT_TRUE(line->isShowingProgress());
    scope.advance(WebViewProgressView::kBarAnimationDuration + WebViewProgressView::kFadeOutDelay +
                  WebViewProgressView::kFadeAnimationDuration + 0.01);
    EXPECT_FALSE(line->isShowingProgress());

    // A link followed brings it back from the start.
    server.holdReplies("GET", kRecords);
    ASSERT_TRUE(driver.tap("签到记录"));
    ASSERT_TRUE(awaitHeld(kRecords, 1));
    ASSERT_TRUE(waitForWeb([&] { return line->isShowingProgress(); }));
    settle(0.01);
    EXPECT_FLOAT_EQ(line->progress(), 0.1f);
    EXPECT_TRUE(line->isShowingProgress());
    ASSERT_TRUE(server.releaseHeld(kRecords));
    ASSERT_TRUE(waitForLoad(*page));
}

TEST_F(WebContainerPageTest, OnScreenAgainThePageGetsItsLineAndTheNavigationBarBack) {
    auto page = openAndLoad();
    EXPECT_FALSE(navigation->navigationBar()->isTranslucent());
    ASSERT_TRUE(lineInBar());

    // A screen pushed over the page (the scanner, say) hides the bar; the line goes with the
    // page.
    auto pushed = std::make_shared<PushedScreen>();
    navigation->pushViewController(pushed, true);
    navigation->setNavigationBarHidden(true);
    settle();
    EXPECT_FALSE(lineInBar());

    navigation->popViewController(true);
    settle();
    EXPECT_EQ(navigation->topViewController(), page);
    EXPECT_FALSE(navigation->isNavigationBarHidden());
    EXPECT_EQ(lineInBar(), page->progressView());

    // Leaving for good takes it off the bar.
    ASSERT_TRUE(driver.back());
    settle();
    EXPECT_FALSE(lineInBar());
}

// --- Frames -----------------------------------------------------------------------------

TEST_F(WebContainerPageTest, TheWebViewAndTheFailViewAreLaidOutForEachPhone) {
    for (const auto& phone : platform::testing::phoneScreens()) {
        SCOPED_TRACE(phone.name);
        platform::testing::ScreenSize screen(phone.size);
        makeWindow();
        auto page = open(deadAddress());
        ASSERT_TRUE(waitForWeb([&] { return page->isFailViewShowing(); }))
            << (page->webView()->lastError() ? page->webView()->lastError()->description : "-");

        const auto& web = page->webView();
        const double width = phone.size.width;
        EXPECT_EQ(web->frame().origin.x, 0);
        EXPECT_EQ(web->frame().origin.y, 0);
        EXPECT_EQ(web->frame().size.width, width);
        // The view's height when it loaded (the whole screen), less 64.
        EXPECT_EQ(web->frame().size.height, phone.size.height - 64);
        EXPECT_TRUE(web->scalesPageToFit());

        const auto& fail = page->failView();
        const double height = web->bounds().size.height;
        EXPECT_EQ(fail->superview().get(), web.get());
        EXPECT_EQ(fail->frame().origin.x, 0);
        EXPECT_EQ(fail->frame().origin.y, 0);
        EXPECT_EQ(fail->frame().size.width, width);
        EXPECT_EQ(fail->frame().size.height, height);
        ASSERT_EQ(fail->subviews().size(), 2u);
        auto image = std::dynamic_pointer_cast<platform::ImageView>(fail->subviews()[0]);
        ASSERT_TRUE(image);
        EXPECT_FALSE(image->image().isNull());
        EXPECT_EQ(image->frame().origin.x, (width - 210) / 2);
        EXPECT_EQ(image->frame().origin.y, (height - 95) / 2);
        EXPECT_EQ(image->frame().size.width, 210);
        EXPECT_EQ(image->frame().size.height, 95);
        auto reload = std::dynamic_pointer_cast<platform::Button>(fail->subviews()[1]);
        ASSERT_TRUE(reload);
        EXPECT_FALSE(reload->backgroundImage().isNull());
        EXPECT_EQ(reload->frame().origin.x, (width - 77) / 2);
        EXPECT_EQ(reload->frame().origin.y, height / 2 + 64.5);
        EXPECT_EQ(reload->frame().size.width, 77);
        EXPECT_EQ(reload->frame().size.height, 32);

        navigation->popViewController(false);
        settle();
    }
}

// --- Fail view --------------------------------------------------------------------------

TEST_F(WebContainerPageTest, TheFailViewIsReusedAndReloadLoadsTheAddressThePageWasOpenedWith) {
    LogCapture log;
    auto page = openAndLoad();
    ASSERT_TRUE(driver.tap("签到记录"));
    ASSERT_TRUE(waitFor([&] { return page->webView()->pageTitle() == "签到记录"; }));
    ASSERT_TRUE(waitForLoad(*page));
    EXPECT_FALSE(page->failView());

    // A link of the page to a server that is not there.
    ASSERT_TRUE(page->webView()->simulateNavigation(deadAddress()));
    ASSERT_TRUE(waitForWeb([&] { return page->isFailViewShowing(); }))
        << (page->webView()->lastError() ? page->webView()->lastError()->description : "-");
    auto failView = page->failView();
    ASSERT_TRUE(failView);
    EXPECT_TRUE(driver.findByHandle("reload")) << driver.outline();
    // The failure is logged with its reason; nothing absent reads "(null)".
    bool logged = false;
    for (const auto& line : log.lines()) {
        if (line.starts_with("errorerrorerrorerror")) {
            logged = true;
            EXPECT_GT(line.size(), std::string("errorerrorerrorerror").size()) << line;
        }
        EXPECT_EQ(line.find("(null)"), std::string::npos) << line;
    }
    EXPECT_TRUE(logged);

    // Reload loads the page the container was opened with, not the one that failed.
    server.clearRequests();
    ASSERT_TRUE(driver.tap("reload"));
    EXPECT_FALSE(page->isFailViewShowing());
    const auto& request = page->webView()->request();
    EXPECT_EQ(request.url, attendanceUrl());
    EXPECT_TRUE(request.ignoreCache);
    EXPECT_EQ(request.timeoutSeconds, 10);
    ASSERT_TRUE(waitForLoad(*page));
    EXPECT_EQ(server.requestsTo(kAttendance).size(), 1u);
    EXPECT_TRUE(server.requestsTo(kRecords).empty());
    EXPECT_EQ(page->webView()->pageTitle(), "移动考勤");
    EXPECT_FALSE(page->isFailViewShowing());

    // A second failure shows the same fail view again; there is only ever one.
    ASSERT_TRUE(page->webView()->simulateNavigation(deadAddress()));
    ASSERT_TRUE(waitForWeb([&] { return page->isFailViewShowing(); }))
        << (page->webView()->lastError() ? page->webView()->lastError()->description : "-");
    EXPECT_EQ(page->failView(), failView);
    EXPECT_EQ(failViewsIn(*page->webView(), failView), 1u);
}

TEST_F(WebContainerPageTest, AFirstLoadThatFailsTakesTheOverlayAndReloadTriesTheSameAddress) {
    // The address the home page gives, on a server that is down for now.
    auto page = open(deadAddress());
    ASSERT_TRUE(waitForWeb([&] { return page->isFailViewShowing(); }))
        << (page->webView()->lastError() ? page->webView()->lastError()->description : "-");
    EXPECT_FALSE(page->loadingOverlay());
    EXPECT_FALSE(page->webView()->hasPage());

    ASSERT_TRUE(driver.tap("reload"));
    EXPECT_EQ(page->webView()->request().url, deadAddress());
    ASSERT_TRUE(waitForWeb([&] { return page->isFailViewShowing(); }))
        << (page->webView()->lastError() ? page->webView()->lastError()->description : "-");
    EXPECT_EQ(failViewsIn(*page->webView(), page->failView()), 1u);
}

TEST_F(WebContainerPageTest, AnAddressOnAPortBrowsersRefuseShowsTheFailView) {
    // Browsers refuse the low ports of other protocols (1 among them) before connecting: the
    // load fails at once, as one to a dead address does.
    auto page = open("http://127.0.0.1:1/CM/login.html");
    ASSERT_TRUE(waitForWeb([&] { return page->isFailViewShowing(); }))
        << (page->webView()->lastError() ? page->webView()->lastError()->description : "-");
    EXPECT_FALSE(page->loadingOverlay());
    EXPECT_FALSE(page->webView()->isBusy());
}

TEST_F(WebContainerPageTest, ALoadReplacedByANewLinkShowsNoFailView) {
    auto page = openAndLoad();
    server.holdReplies("GET", kRecords);
    ASSERT_TRUE(driver.tap("签到记录"));
    ASSERT_TRUE(awaitHeld(kRecords, 1));
    // WebKit tells of the load's start on its own thread; the request may reach the server
    // first.
    ASSERT_TRUE(waitForWeb([&] { return page->webView()->isLoading(); }));
    settle();

    // The user taps the link again before the page has come: the first load is cancelled.
    ASSERT_TRUE(driver.tap("签到记录"));
    ASSERT_TRUE(awaitHeld(kRecords, 2));
    // The new load's start, told by WebKit's thread, may come after its request went out.
    ASSERT_TRUE(waitForWeb(
        [&] { return page->webView()->isLoading() && page->progressView()->isShowingProgress(); }));
    settle();
    EXPECT_FALSE(page->isFailViewShowing());
    EXPECT_FALSE(page->failView());
    // (WebKit may tell of the cancel before the new load starts, so the progress line may
    // have ended with the first load; the page still comes.)
    ASSERT_TRUE(server.releaseHeld(kRecords, 1));
    ASSERT_TRUE(waitFor([&] { return page->webView()->pageTitle() == "签到记录"; }));
    EXPECT_FALSE(page->isFailViewShowing());
}

// --- Sign-in interplay ------------------------------------------------------------------

TEST_F(WebContainerPageTest, ASignInPostedAfterTheContainerWentReachesNothing) {
    const size_t observersBefore = platform::NotificationCenter::defaultCenter().observerCount();
    std::weak_ptr<WebDetailViewController> gone;
    {
        auto page = openAndLoad();
        // A page's request for the user's information is waiting, nobody signed in.
        page->setUserInfoRequestPending(true);
        gone = page;
        ASSERT_TRUE(driver.back());
        settle();
        ASSERT_EQ(navigation->topViewController(), opener);
    }
    EXPECT_TRUE(gone.expired());
    EXPECT_EQ(platform::NotificationCenter::defaultCenter().observerCount(), observersBefore);

    platform::NotificationCenter::defaultCenter().post(SignInNotification::LoginSuccess);
    settle();
    EXPECT_FALSE(navigation->presentedViewController());
    EXPECT_FALSE(opener->presentedViewController());
}

TEST_F(WebContainerPageTest, AnUnsetTitleShowsAsNothing) {
    auto page = std::make_shared<WebDetailViewController>();
    page->setUrlStr(attendanceUrl());
    navigation->pushViewController(page, false);
    ASSERT_TRUE(waitForLoad(*page));
    EXPECT_EQ(page->navigationItem().title(), "");
    EXPECT_EQ(driver.outline().find("(null)"), std::string::npos) << driver.outline();
}

}  // namespace
