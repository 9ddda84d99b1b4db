#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "platform/foundation/CookieStorage.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/ui/Application.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/WebView.h"
#include "platform/ui/WebViewDelegate.h"
#include "tests/net/TestServer.h"
#include "tests/support/RefusingPort.h"

// The web view on the real engine: its delegate and what led to each page, history, the page's
// scale, the views over the page, dialogs, and a page that takes its process down.

using namespace platform;
using namespace std::chrono_literals;

namespace {

class RecordingWebDelegate : public WebViewDelegate {
public:
    bool shouldStartLoadWithRequest(WebView&, const URLRequest& request,
                                    WebViewNavigationType type) override {
        asked.push_back(request);
        types.push_back(type);
        return refused.empty() || request.url.find(refused) == std::string::npos;
    }
    void webViewDidStartLoad(WebView&) override { ++started; }
    void webViewDidFinishLoad(WebView&) override { ++finished; }
    void didFailLoadWithError(WebView&, const WebError& error) override { errors.push_back(error); }

    std::string refused;
    std::vector<URLRequest> asked;
    std::vector<WebViewNavigationType> types;
    int started{0};
    int finished{0};
    std::vector<WebError> errors;
};

class WebViewTest : public uitest::UiTest {
protected:
    void SetUp() override {
        m_webView = View::make<WebView>(Rect{{0, 0}, {375, 603}});
        m_delegate = std::make_shared<RecordingWebDelegate>();
        m_webView->setDelegate(m_delegate);
        auto screen = std::make_shared<ViewController>();
        screen->view()->addSubview(m_webView);
        m_window = showWindow(screen);
    }

    bool waitFor(const std::function<bool()>& condition) {
        return RunLoop::main().runUntil(condition, 20s);
    }
    // Until the web view has nothing under way.
    bool settle() {
        return waitFor([this] { return !m_webView->isBusy(); });
    }
    void open(const std::string& path) {
        const int before = m_delegate->finished;
        URLRequest request;
        request.url = m_server.url(path);
        m_webView->loadRequest(request);
        ASSERT_TRUE(waitFor([&] { return m_delegate->finished > before; }));
        ASSERT_TRUE(settle());
    }
    std::string eval(const std::string& script) {
        return m_webView->stringByEvaluatingJavaScriptFromString(script);
    }
    const PageItem* item(const std::string& text) const {
        const auto& items = m_webView->pageItems();
        auto found = std::find_if(items.begin(), items.end(),
                                  [&](const PageItem& item) { return item.text == text; });
        return found == items.end() ? nullptr : &*found;
    }
    // A finger's tap on what the page shows of the item.
    void tapItem(const std::string& text) {
        ASSERT_TRUE(waitFor([&] { return item(text) != nullptr; })) << text;
        auto tapped = m_driver.tap(text);
        ASSERT_TRUE(tapped) << tapped.error;
    }

    nettest::TestServer m_server;
    std::shared_ptr<WebView> m_webView;
    std::shared_ptr<RecordingWebDelegate> m_delegate;
    std::shared_ptr<Window> m_window;
    platform::testing::UIDriver m_driver;
};

TEST_F(WebViewTest, AnAppLoadIsAskedWithNothingBehindItAndFinishesWithThePage) {
    m_server.serve("/page",
                   "<html><head><title> Hello Page </title></head><body><p>hi</p></body></html>");
    open("/page");
    ASSERT_EQ(m_delegate->asked.size(), 1u);
    EXPECT_EQ(m_delegate->asked[0].url, m_server.url("/page"));
    EXPECT_TRUE(m_delegate->asked[0].sourceChain.empty());
    EXPECT_EQ(m_delegate->started, 1);
    EXPECT_EQ(m_webView->pageTitle(), "Hello Page");
    EXPECT_EQ(m_webView->pageStatus(), 200);
    EXPECT_TRUE(m_webView->hasPage());
}

TEST_F(WebViewTest, APagesLinkIsAskedWithThePageBehindItAndARefusedOneLeavesThePage) {
    m_server.serve("/first",
                   "<html><body style='margin:0'><a href='/second' "
                   "style='display:block;height:60px'>next</a></body></html>");
    m_server.serve("/second", "<html><head><title>Second</title></head><body>2</body></html>");
    open("/first");
    const auto identity = m_webView->pageIdentity();
    m_delegate->refused = "/second";
    tapItem("next");
    ASSERT_TRUE(waitFor([&] { return m_delegate->asked.size() == 2; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_delegate->types[1], WebViewNavigationType::LinkClicked);
    EXPECT_EQ(m_delegate->asked[1].sourceURL, m_server.url("/first"));
    EXPECT_EQ(m_delegate->asked[1].sourceChain, std::vector<std::string>{m_server.url("/first")});
    EXPECT_EQ(m_server.requests("/second"), 0);
    EXPECT_EQ(m_webView->pageIdentity(), identity);
    EXPECT_EQ(m_webView->pageURL(), m_server.url("/first"));

    m_delegate->refused.clear();
    tapItem("next");
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle() == "Second"; }));
    EXPECT_NE(m_webView->pageIdentity(), identity);
    EXPECT_EQ(m_webView->pageSourceChain(), std::vector<std::string>{m_server.url("/first")});
}

TEST_F(WebViewTest, BackAndForwardShowThePagesWithWhatFirstLedToThem) {
    m_server.serve("/first",
                   "<html><head><title>First</title></head><body style='margin:0'>"
                   "<a href='/second' style='display:block;height:60px'>next</a></body></html>");
    m_server.serve("/second", "<html><head><title>Second</title></head><body>2</body></html>");
    open("/first");
    const auto firstIdentity = m_webView->pageIdentity();
    tapItem("next");
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle() == "Second"; }));
    ASSERT_TRUE(waitFor([&] { return m_webView->canGoBack(); }));
    m_webView->goBack();
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle() == "First"; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_delegate->types.back(), WebViewNavigationType::BackForward);
    EXPECT_TRUE(m_webView->pageSourceChain().empty());
    EXPECT_NE(m_webView->pageIdentity(), firstIdentity);
    ASSERT_TRUE(waitFor([&] { return m_webView->canGoForward(); }));
    m_webView->goForward();
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle() == "Second"; }));
    EXPECT_EQ(m_webView->pageSourceChain(), std::vector<std::string>{m_server.url("/first")});
}

TEST_F(WebViewTest, ARedirectIsAskedHopByHopAndItsHopJoinsWhatLedToThePage) {
    open("/redirect");
    ASSERT_EQ(m_delegate->asked.size(), 2u);
    EXPECT_EQ(m_delegate->asked[1].url, m_server.url("/hello"));
    EXPECT_EQ(m_delegate->asked[1].sourceURL, m_server.url("/redirect"));
    EXPECT_EQ(m_webView->pageURL(), m_server.url("/hello"));
    EXPECT_EQ(m_webView->pageSourceChain(), std::vector<std::string>{m_server.url("/redirect")});
}

TEST_F(WebViewTest, AForeignFrameOrAnUnnamedAskerIsNamedInTheChain) {
    nettest::TestServer foreign;
    foreign.serve("/frame",
                  "<html><body><script>setTimeout(function(){"
                  "location.href='" +
                      m_server.url("/target") + "'},0)</script></body></html>");
    m_server.serve("/target", "<html><body>t</body></html>");
    m_server.serve("/framed", "<html><body><iframe src='" + foreign.url("/frame") +
                                  "'></iframe></body></html>");
    m_delegate->refused = "/target";
    open("/framed");
    ASSERT_TRUE(waitFor([&] {
        return std::any_of(m_delegate->asked.begin(), m_delegate->asked.end(),
                           [&](const URLRequest& r) { return r.url == m_server.url("/target"); });
    }));
    const auto& asked =
        *std::find_if(m_delegate->asked.begin(), m_delegate->asked.end(),
                      [&](const URLRequest& r) { return r.url == m_server.url("/target"); });
    // The frame names itself (by its origin, as its Referer shows it): not the page.
    EXPECT_EQ(asked.sourceChain.back(), foreign.url("/"));

    // An address that carries no Referer, from a page that holds frames, names nobody.
    m_delegate->refused = "campus-test:";
    eval("location.href = 'campus-test://command'");
    ASSERT_TRUE(
        waitFor([&] { return m_delegate->asked.back().url.rfind("campus-test:", 0) == 0; }));
    EXPECT_EQ(m_delegate->asked.back().sourceChain.back(), "about:unnamed-document");
}

TEST_F(WebViewTest, AnAddressOfAnotherSchemeFromAPageWithoutFramesIsThePagesOwn) {
    m_server.serve("/page", "<html><body>p</body></html>");
    open("/page");
    m_delegate->refused = "campus-test:";
    eval("location.href = 'campus-test://command'");
    ASSERT_TRUE(waitFor([&] { return m_delegate->asked.size() == 2; }));
    EXPECT_EQ(m_delegate->asked[1].sourceChain, std::vector<std::string>{m_server.url("/page")});
}

TEST_F(WebViewTest, ADeadServerFailsTheLoadAndAnErrorStatusStillShowsThePage) {
    testsupport::RefusingPort refusing;
    URLRequest request;
    request.url = "http://127.0.0.1:" + std::to_string(refusing.port()) + "/x";
    m_webView->loadRequest(request);
    ASSERT_TRUE(waitFor([&] { return !m_delegate->errors.empty(); }));
    EXPECT_EQ(m_delegate->errors[0].code, WebError::kCannotConnectToHost);

    m_server.serve("/missing", "<html><head><title>Not Found</title></head></html>", "text/html",
                   404);
    open("/missing");
    EXPECT_EQ(m_webView->pageStatus(), 404);
    EXPECT_EQ(m_webView->pageTitle(), "Not Found");
}

TEST_F(WebViewTest, ALoadThatDoesNotBeginInTimeFailsAsTimedOutOnTheLoopsClock) {
    URLRequest request;
    request.url = m_server.url("/slow");
    request.timeoutSeconds = 10;
    m_webView->loadRequest(request);
    ASSERT_TRUE(waitFor([&] { return m_server.requests("/slow") > 0; }));
    advance(11);
    ASSERT_TRUE(waitFor([&] { return !m_delegate->errors.empty(); }));
    // The stop the time-out makes is that same failure, told once: WebKit has told of the stop
    // by the time a script sent after it has had its answer.
    eval("0");
    ASSERT_TRUE(settle());
    RunLoop::main().runPending();
    ASSERT_EQ(m_delegate->errors.size(), 1u);
    EXPECT_EQ(m_delegate->errors.back().code, WebError::kTimedOut);
    ASSERT_TRUE(m_webView->lastError());
    EXPECT_EQ(m_webView->lastError()->code, WebError::kTimedOut);
    EXPECT_FALSE(m_webView->isLoading());
    m_server.release();
}

TEST_F(WebViewTest, APageWithoutAViewportIsLaidOutWideAndFittedAndZoomsWithinItsBounds) {
    m_server.serve(
        "/wide",
        "<html><body style='margin:0'><div id=w style='width:980px'>wide</div></body></html>");
    m_webView->setScalesPageToFit(true);
    open("/wide");
    EXPECT_NEAR(m_webView->zoomScale(), 375.0 / 980, 0.001);
    EXPECT_TRUE(waitFor([&] { return eval("String(window.innerWidth)") == "980"; }));
    EXPECT_TRUE(m_webView->zoomBy(100, Point{0, 0}));
    EXPECT_DOUBLE_EQ(m_webView->zoomScale(), WebView::kMaximumZoom);
    // The page is not laid out again: its width stays the layout's, as the window grows.
    ASSERT_TRUE(settle());
    EXPECT_TRUE(waitFor([&] { return eval("String(window.innerWidth)") == "980"; }));
}

TEST_F(WebViewTest, APagesViewportIsHonoured) {
    m_server.serve("/device",
                   "<html><head><meta name='viewport' content='width=device-width, "
                   "initial-scale=1, user-scalable=no'></head><body>d</body></html>");
    m_webView->setScalesPageToFit(true);
    open("/device");
    ASSERT_TRUE(waitFor([&] { return m_webView->zoomScale() == 1; }));
    EXPECT_EQ(eval("String(window.innerWidth)"), "375");
    EXPECT_FALSE(m_webView->zoomBy(2, Point{0, 0}));
}

// Its scripts read the width they are laid out at as soon as they run: a page made for the
// phone is never laid out at a desktop's width first.
TEST_F(WebViewTest, APageForThePhoneIsLaidOutAtTheDevicesWidthFromItsFirstScript) {
    m_server.serve("/phone",
                   "<html><head><meta name='viewport' content='width=device-width'>"
                   "<script>var widths = [innerWidth];"
                   "addEventListener('DOMContentLoaded', function () { widths.push(innerWidth); });"
                   "addEventListener('load', function () { widths.push(innerWidth); });"
                   "addEventListener('resize', function () { widths.push(innerWidth); });"
                   "</script></head><body>p</body></html>");
    m_webView->setScalesPageToFit(true);
    open("/phone");
    EXPECT_EQ(eval("widths.join(' ')"), "375 375 375");
    EXPECT_EQ(m_webView->zoomScale(), 1);
}

// A timetable wider than the phone: the user drags the page sideways to its right end, sees it
// there and taps what is there.
TEST_F(WebViewTest, APageWiderThanItsLayoutScrollsSidewaysInThePage) {
    m_server.serve("/table",
                   "<html><head><meta charset='utf-8'>"
                   "<meta name='viewport' content='width=device-width'></head>"
                   "<body style='margin:0'><table style='width:900px;border-collapse:collapse'>"
                   "<tr><td style='height:200px'>周一</td>"
                   "<td id=end style='width:120px;background:#00ff00'><button "
                   "onclick=\"this.textContent='已选'\">周五</button></td></tr></table>"
                   "</body></html>");
    m_webView->setScalesPageToFit(true);
    open("/table");
    const auto& scroller = m_webView->scrollView();
    ASSERT_TRUE(waitFor([&] { return scroller->contentSize().width >= 900; }));
    scroller->setContentOffset(Point{scroller->contentSize().width - 375, 0});
    ASSERT_TRUE(settle());
    EXPECT_EQ(eval("String(scrollX)"), "525");
    // The paint shows the page's right end where the view's right edge is.
    ASSERT_TRUE(waitFor([&] {
        const Image& paint = m_webView->paintedPage();
        return !paint.isNull() &&
               (paint.pixelAt(int(paint.pixelWidth()) - 10, 20) & 0xffffffu) == 0x00ff00u;
    }));
    tapItem("周五");
    EXPECT_TRUE(
        waitFor([&] { return eval("document.getElementById('end').textContent") == "已选"; }));
}

// Sites choose their phone or tablet pages by what the web view says it is.
TEST_F(WebViewTest, TheWebViewSaysItIsThePhonesOrTheTabletsWebView) {
    m_server.serve("/ua", "<p>ua</p>");
    open("/ua");
    const std::string phone = eval("navigator.userAgent");
    EXPECT_NE(phone.find("Mobile"), std::string::npos) << phone;
    EXPECT_NE(phone.find("Phone OS 9_3"), std::string::npos) << phone;

    Application::shared().setUserInterfaceIdiom(UserInterfaceIdiom::Pad);
    auto tablet = View::make<WebView>(Rect{{0, 0}, {768, 960}});
    m_window->addSubview(tablet);
    tablet->loadRequest(URLRequest{m_server.url("/ua")});
    const bool loaded = waitFor([&] { return tablet->hasPage() && !tablet->isBusy(); });
    const std::string said = tablet->stringByEvaluatingJavaScriptFromString("navigator.userAgent");
    Application::shared().setUserInterfaceIdiom(UserInterfaceIdiom::Phone);
    ASSERT_TRUE(loaded);
    EXPECT_NE(said.find("Tablet; CPU OS 9_3"), std::string::npos) << said;
    EXPECT_NE(said.find("Mobile"), std::string::npos) << said;
}

TEST_F(WebViewTest, WithoutFittingAPageIsShownAtScaleOne) {
    m_server.serve("/wide", "<html><body><div style='width:980px'>wide</div></body></html>");
    open("/wide");
    EXPECT_EQ(m_webView->zoomScale(), 1);
    EXPECT_EQ(eval("String(window.innerWidth)"), "375");
}

TEST_F(WebViewTest, ThePagesItemsStandOverItAndHiddenOnesAreLeftOut) {
    m_server.serve("/items",
                   "<html><head><meta charset=utf-8></head><body><h1>标题</h1><p id=count>3</p><a "
                   "href='/x'>链接</a>"
                   "<p style='display:none'>hidden</p><button onclick=\"document."
                   "getElementById('count').textContent='4'\">加一</button></body></html>");
    open("/items");
    ASSERT_NE(item("标题"), nullptr);
    EXPECT_EQ(item("hidden"), nullptr);
    ASSERT_NE(item("链接"), nullptr);
    EXPECT_EQ(item("链接")->kind, PageItem::Kind::Link);
    tapItem("加一");
    ASSERT_TRUE(settle());
    ASSERT_TRUE(waitFor([&] { return item("4") != nullptr; }));
    EXPECT_EQ(item("4")->id, "count");
    EXPECT_GT(m_webView->paintedPage().size().width, 0);
}

TEST_F(WebViewTest, ATapOnAPageShownAgainFromHistoryIsWaitedForAsOnAnyPage) {
    m_server.serve(
        "/counter",
        "<html><head><meta charset=utf-8><title>Counter</title></head><body><p id=count>3</p>"
        "<button onclick=\"var c = document.getElementById('count');"
        "c.textContent = String(Number(c.textContent) + 1)\">加一</button>"
        "<a href='/other'>别处</a></body></html>");
    m_server.serve("/other", "<html><head><title>Other</title></head><body>o</body></html>");
    open("/counter");
    tapItem("加一");
    ASSERT_TRUE(settle());
    ASSERT_NE(item("4"), nullptr);
    tapItem("别处");
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle() == "Other"; }));
    ASSERT_TRUE(waitFor([&] { return m_webView->canGoBack(); }));
    m_webView->goBack();
    // The same document again (its count kept): it has seen input before.
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle() == "Counter" && item("4"); }));
    ASSERT_TRUE(settle());
    tapItem("加一");
    ASSERT_TRUE(settle());
    EXPECT_NE(item("5"), nullptr) << "the tap's effect had not come when the web view settled";
}

TEST_F(WebViewTest, APagesDialogsAreTheClientsAlertViewAndTheirAnswerReachesThePage) {
    m_server.serve("/ask", "<html><body>ask</body></html>");
    open("/ask");
    m_webView->stringByEvaluatingJavaScriptFromString(
        "setTimeout(function(){ document.title = confirm('删除?') ? 'yes' : 'no'; }, 0)");
    ASSERT_TRUE(waitFor([&] { return m_driver.outline().find("删除?") != std::string::npos; }));
    auto pressed = m_driver.pressAlertButton("好");
    ASSERT_TRUE(pressed) << pressed.error;
    ASSERT_TRUE(waitFor([&] { return m_webView->pageTitle() == "yes"; }));
}

TEST_F(WebViewTest, APageThatNeverYieldsIsEndedAndTheLoadFails) {
    m_server.serve("/spin", "<html><body>spin</body></html>");
    open("/spin");
    m_webView->stringByEvaluatingJavaScriptFromString(
        "setTimeout(function(){ while (true) {} }, 0)");
    ASSERT_TRUE(waitFor([&] { return !m_delegate->errors.empty(); }));
    EXPECT_EQ(m_delegate->errors.back().code, WebError::kWebProcessEnded);
}

TEST_F(WebViewTest, ThePagesAndTheHttpClientShareOneCookieStore) {
    auto& jar = CookieStorage::shared();
    // As a sign-in's reply leaves it for the school's pages.
    ASSERT_TRUE(jar.setFromHeader("campus_sid=signed-in; Path=/", m_server.url("/signin")));
    m_server.serve("/page", "<html><body>p</body></html>");
    open("/page");
    EXPECT_TRUE(waitFor(
        [&] { return eval("document.cookie").find("campus_sid=signed-in") != std::string::npos; }));

    // A page's own cookie comes back into the jar, and the HTTP client sends it.
    eval("document.cookie = 'page_choice=timetable; path=/'");
    ASSERT_TRUE(waitFor([&] {
        return jar.headerFor(m_server.url("/api")).find("page_choice=timetable") !=
               std::string::npos;
    }));
    bool answered = false;
    HttpRequest request;
    request.url = m_server.url("/hello");
    HttpClient::shared().send(request, [&](HttpResponse) { answered = true; });
    ASSERT_TRUE(waitFor([&] { return answered; }));
    EXPECT_NE(m_server.last().header("cookie").find("page_choice=timetable"), std::string::npos);

    // Deleted from the jar (as signing in to a share platform clears its cookies), it is gone
    // from the pages too.
    for (const auto& cookie : jar.cookies()) jar.deleteCookie(cookie);
    EXPECT_TRUE(waitFor([&] { return eval("document.cookie").empty(); }));
}

TEST_F(WebViewTest, ATapOnThePageOutsideItsFieldEndsTheEditing) {
    m_server.serve("/form",
                   "<html><head><meta charset=utf-8></head><body><p>请填写下面的姓名</p>"
                   "<input id=name style='width:200px;height:30px'></body></html>");
    open("/form");
    ASSERT_TRUE(waitFor([&] { return m_driver.findByHandle("name") != nullptr; }));
    ASSERT_TRUE(m_driver.tap("name"));
    ASSERT_TRUE(settle());
    ASSERT_NE(m_driver.outline().find("(editing)"), std::string::npos) << m_driver.outline();
    ASSERT_TRUE(m_driver.tap("请填写下面的姓名"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_driver.outline().find("(editing)"), std::string::npos) << m_driver.outline();
}

}  // namespace
