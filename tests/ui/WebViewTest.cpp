#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/WebView.h"
#include "platform/ui/WebViewDelegate.h"
#include "tests/net/TestServer.h"
#include "tests/support/RefusingPort.h"

using namespace platform;
using namespace std::chrono_literals;

namespace {

class RecordingWebDelegate : public WebViewDelegate {
public:
    bool shouldStartLoadWithRequest(WebView&, const URLRequest& request,
                                    WebViewNavigationType type) override {
        asked.push_back(request.url);
        sources.push_back(request.sourceURL);
        chains.push_back(request.sourceChain);
        methods.push_back(request.method);
        types.push_back(type);
        bool refuse = !refused.empty() && request.url.find(refused) != std::string::npos;
        events.push_back(refuse ? "refused" : "asked");
        return !refuse;
    }
    void webViewDidStartLoad(WebView&) override { events.push_back("start"); }
    void webViewDidFinishLoad(WebView& webView) override {
        events.push_back("finish");
        finishedTitles.push_back(webView.pageTitle());
    }
    void didFailLoadWithError(WebView&, const WebError& error) override {
        events.push_back("fail");
        errors.push_back(error);
    }
    int count(const std::string& event) const {
        return int(std::count(events.begin(), events.end(), event));
    }

    std::string refused;
    std::vector<std::string> asked;
    std::vector<std::string> sources;
    std::vector<std::vector<std::string>> chains;
    std::vector<std::string> methods;
    std::vector<WebViewNavigationType> types;
    std::vector<std::string> events;
    std::vector<std::string> finishedTitles;
    std::vector<WebError> errors;
};

class WebViewTest : public uitest::UiTest {
protected:
    void SetUp() override {
        m_server.serve(
            "/page", "<html><head><TITLE> Hello Page </TITLE></head><body><p>hi</p></body></html>");
        m_server.serve("/second", "<html><head><title>Second</title></head><body>2</body></html>");
        m_server.serve("/missing", "<html><head><title>Not Found</title></head></html>",
                       "text/html", 404);
        m_webView = View::make<WebView>(Rect{{0, 0}, {375, 603}});
        m_delegate = std::make_shared<RecordingWebDelegate>();
        m_webView->setDelegate(m_delegate);
    }

    // Pumps the main loop until the current load has finished or failed.
    bool settle() {
        return RunLoop::main().runUntil([this] { return !m_webView->isLoading(); }, 5000ms);
    }

    nettest::TestServer m_server;
    std::shared_ptr<WebView> m_webView;
    std::shared_ptr<RecordingWebDelegate> m_delegate;
};

TEST_F(WebViewTest, LoadFinishesWithThePageTitleAndScriptsAreRecordedInOrder) {
    m_webView->loadRequest(URLRequest{m_server.url("/page")});
    EXPECT_TRUE(m_webView->isLoading());
    EXPECT_TRUE(m_delegate->finishedTitles.empty());

    ASSERT_TRUE(settle());

    EXPECT_EQ(m_delegate->events, (std::vector<std::string>{"asked", "start", "finish"}));
    EXPECT_EQ(m_webView->pageTitle(), "Hello Page");
    EXPECT_EQ(m_webView->pageStatus(), 200);
    EXPECT_EQ(m_webView->stringByEvaluatingJavaScriptFromString("document.title"), "Hello Page");
    EXPECT_EQ(m_webView->stringByEvaluatingJavaScriptFromString("document.body.innerHTML"),
              "<p>hi</p>");
    EXPECT_EQ(m_webView->describe(), "web \"Hello Page\"");
    EXPECT_EQ(m_webView->stringByEvaluatingJavaScriptFromString("callback( {\"message\":\"a\"} )"),
              "");
    EXPECT_EQ(m_webView->evaluatedScripts(),
              (std::vector<std::string>{"document.title", "document.body.innerHTML",
                                        "callback( {\"message\":\"a\"} )"}));
}

TEST_F(WebViewTest, RefusedRequestIsNeverFetched) {
    std::string sentinel = "http://sentinel.invalid/";
    m_delegate->refused = sentinel;

    m_webView->loadRequest(URLRequest{m_server.url("/page?next=") + sentinel});
    EXPECT_FALSE(m_webView->isLoading());
    m_webView->loadRequest(URLRequest{m_server.url("/second")});
    ASSERT_TRUE(settle());

    EXPECT_EQ(m_server.paths(), (std::vector<std::string>{"/second"}));
    EXPECT_EQ(m_delegate->count("start"), 1);
    EXPECT_EQ(m_delegate->finishedTitles, (std::vector<std::string>{"Second"}));
}

TEST_F(WebViewTest, DeadServerFailsTheLoadButAnErrorStatusFinishes) {
    testsupport::RefusingPort dead;
    std::string url = "http://127.0.0.1:" + std::to_string(dead.port()) + "/page";
    m_webView->loadRequest(URLRequest{url, 10});
    ASSERT_TRUE(settle());

    ASSERT_EQ(m_delegate->errors.size(), 1u);
    EXPECT_EQ(m_delegate->errors[0].code, WebError::kCannotConnectToHost);
    EXPECT_FALSE(m_delegate->errors[0].description.empty());
    EXPECT_EQ(m_delegate->errors[0].failingURL, url);
    EXPECT_EQ(m_delegate->count("finish"), 0);
    EXPECT_FALSE(m_webView->canGoBack());
    EXPECT_NE(m_webView->describe().find("(failed)"), std::string::npos);

    // An error status is no failure: the page finishes and its status is kept.
    m_webView->loadRequest(URLRequest{m_server.url("/missing")});
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_delegate->count("finish"), 1);
    EXPECT_EQ(m_delegate->count("fail"), 1);
    EXPECT_EQ(m_webView->pageStatus(), 404);
}

TEST_F(WebViewTest, HistoryWalksBackAndForwardAskingTheDelegate) {
    m_webView->loadRequest(URLRequest{m_server.url("/page")});
    ASSERT_TRUE(settle());
    EXPECT_FALSE(m_webView->canGoBack());
    EXPECT_TRUE(m_webView->simulateNavigation(m_server.url("/second")));
    ASSERT_TRUE(settle());
    EXPECT_TRUE(m_webView->canGoBack());
    EXPECT_FALSE(m_webView->canGoForward());

    m_webView->goBack();
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_webView->pageTitle(), "Hello Page");
    EXPECT_EQ(m_delegate->types.back(), WebViewNavigationType::BackForward);
    EXPECT_FALSE(m_webView->canGoBack());
    EXPECT_TRUE(m_webView->canGoForward());

    m_webView->goForward();
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_webView->pageTitle(), "Second");
    EXPECT_EQ(m_server.paths(), (std::vector<std::string>{"/page", "/second", "/page", "/second"}));
}

TEST_F(WebViewTest, PageNavigationRefusedByDelegateLeavesThePage) {
    m_webView->loadRequest(URLRequest{m_server.url("/page")});
    ASSERT_TRUE(settle());
    m_delegate->refused = "campus-cmd://";

    EXPECT_FALSE(m_webView->simulateNavigation("campus-cmd://scan=%7B%7D"));

    EXPECT_EQ(m_delegate->types.back(), WebViewNavigationType::LinkClicked);
    EXPECT_FALSE(m_webView->isLoading());
    EXPECT_EQ(m_webView->pageTitle(), "Hello Page");
    EXPECT_FALSE(m_webView->canGoBack());
}

TEST_F(WebViewTest, CompletionAfterTheWebViewIsGoneDoesNothing) {
    m_webView->loadRequest(URLRequest{m_server.url("/slow")});
    ASSERT_TRUE(RunLoop::main().runUntil([this] { return !m_server.paths().empty(); }, 5s));
    std::weak_ptr<WebView> weak = m_webView;
    m_webView.reset();
    ASSERT_TRUE(weak.expired());

    m_server.release();
    ASSERT_TRUE(RunLoop::main().runUntil([] { return HttpClient::shared().inFlight() == 0; }));

    EXPECT_EQ(m_delegate->count("finish"), 0);
    EXPECT_EQ(m_delegate->count("fail"), 0);
}

TEST_F(WebViewTest, HtmlStringFinishesOnALaterTurn) {
    m_webView->loadHTMLString("<meta charset=\"utf-8\" /><title>详细信息</title><p>正文</p>", "");

    EXPECT_EQ(m_delegate->asked, (std::vector<std::string>{"about:blank"}));
    EXPECT_EQ(m_delegate->count("finish"), 0);
    EXPECT_TRUE(m_webView->isLoading());

    RunLoop::main().runPending();

    EXPECT_EQ(m_delegate->events, (std::vector<std::string>{"asked", "start", "finish"}));
    EXPECT_EQ(m_webView->pageTitle(), "详细信息");
    EXPECT_EQ(m_webView->pageURL(), "about:blank");
    EXPECT_TRUE(m_server.paths().empty());
}

TEST_F(WebViewTest, ANewLoadCancelsTheOneUnderWay) {
    m_webView->loadRequest(URLRequest{m_server.url("/slow")});
    m_webView->loadRequest(URLRequest{m_server.url("/page")});
    m_server.release();
    ASSERT_TRUE(settle());
    ASSERT_TRUE(RunLoop::main().runUntil([] { return HttpClient::shared().inFlight() == 0; }));

    ASSERT_EQ(m_delegate->errors.size(), 1u);
    EXPECT_EQ(m_delegate->errors[0].code, WebError::kCancelled);
    EXPECT_EQ(m_delegate->finishedTitles, (std::vector<std::string>{"Hello Page"}));
}

// --- Redirects --------------------------------------------------------------------------

TEST_F(WebViewTest, EveryRedirectHopIsAskedAndThePageKeepsTheAddressItCameFrom) {
    m_webView->loadRequest(URLRequest{m_server.url("/hops/2")});
    ASSERT_TRUE(settle());

    EXPECT_EQ(m_delegate->asked,
              (std::vector<std::string>{m_server.url("/hops/2"), m_server.url("/hops/1"),
                                        m_server.url("/hops/0"), m_server.url("/hello")}));
    // Each hop names the address whose reply sent it on; the app's own load names none.
    EXPECT_EQ(m_delegate->sources,
              (std::vector<std::string>{"", m_server.url("/hops/2"), m_server.url("/hops/1"),
                                        m_server.url("/hops/0")}));
    EXPECT_EQ(m_delegate->types.back(), WebViewNavigationType::Other);
    EXPECT_EQ(m_delegate->events,
              (std::vector<std::string>{"asked", "start", "asked", "asked", "asked", "finish"}));
    EXPECT_EQ(m_webView->pageURL(), m_server.url("/hello"));
    EXPECT_EQ(m_webView->request().url, m_server.url("/hello"));
    EXPECT_FALSE(m_webView->canGoBack());

    // The page's own navigations name the page; a form moved with "see other" comes as a GET.
    EXPECT_TRUE(m_webView->simulateNavigation(m_server.url("/posted"),
                                              WebViewNavigationType::FormSubmitted));
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_delegate->sources.end()[-2], m_server.url("/hello"));
    EXPECT_EQ(m_delegate->methods.end()[-2], "POST");
    EXPECT_EQ(m_delegate->methods.back(), "GET");
    const auto received = m_server.received();
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back().path, "/hello");
    EXPECT_EQ(received.back().method, "GET");
    EXPECT_EQ(m_webView->pageURL(), m_server.url("/hello"));
    EXPECT_TRUE(m_webView->canGoBack());
}

TEST_F(WebViewTest, ARefusedHopIsNeverFetchedAndTheLoadEndsCancelled) {
    m_webView->loadRequest(URLRequest{m_server.url("/page")});
    ASSERT_TRUE(settle());
    m_delegate->refused = "/hello";

    EXPECT_TRUE(m_webView->simulateNavigation(m_server.url("/redirect")));
    ASSERT_TRUE(settle());
    // Whatever the load sent has been answered before the server's paths are read.
    ASSERT_TRUE(RunLoop::main().runUntil([] { return HttpClient::shared().inFlight() == 0; }));

    EXPECT_EQ(m_delegate->events.back(), "fail");
    EXPECT_EQ(m_delegate->errors.back().code, WebError::kCancelled);
    EXPECT_EQ(m_server.paths(), std::vector<std::string>{"/page"});
    EXPECT_EQ(m_webView->pageURL(), m_server.url("/page"));
    EXPECT_EQ(m_webView->pageTitle(), "Hello Page");
    EXPECT_FALSE(m_webView->canGoBack());

    // A redirect to a page command reaches the delegate as a hop, for it to act on.
    m_delegate->refused = "campus-cmd://";
    EXPECT_TRUE(m_webView->simulateNavigation(m_server.url("/to-command")));
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_delegate->asked.back(), "campus-cmd://scan");
    EXPECT_EQ(m_delegate->sources.back(), m_server.url("/to-command"));
    EXPECT_EQ(m_webView->pageTitle(), "Hello Page");
}

// What led to a page, each redirect on the way included, is decided when it first loads and
// stays with it: back, forward and reload load its final address but show it with that chain,
// and what it asks for next carries it on. Each showing is a page of its own.
TEST_F(WebViewTest, WhatLedToAPageHoldsOnBackForwardAndReloadAndEachShowingIsAPageOfItsOwn) {
    using Chain = std::vector<std::string>;
    m_webView->loadRequest(URLRequest{m_server.url("/page")});
    ASSERT_TRUE(settle());
    EXPECT_TRUE(m_webView->pageSourceChain().empty());

    ASSERT_TRUE(m_webView->simulateNavigation(m_server.url("/hops/1")));
    ASSERT_TRUE(settle());
    const Chain chain = {m_server.url("/page"), m_server.url("/hops/1"), m_server.url("/hops/0")};
    ASSERT_EQ(m_webView->pageURL(), m_server.url("/hello"));
    EXPECT_EQ(m_webView->pageSourceChain(), chain);
    EXPECT_EQ(m_delegate->chains.back(), chain) << "the last hop's request";
    std::vector<std::uint64_t> identities = {m_webView->pageIdentity()};

    Chain next = chain;
    next.push_back(m_server.url("/hello"));
    ASSERT_TRUE(m_webView->simulateNavigation(m_server.url("/second")));
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_webView->pageSourceChain(), next);

    const std::size_t asked = m_delegate->asked.size();
    m_webView->goBack();
    ASSERT_TRUE(settle());
    m_webView->reload();
    ASSERT_TRUE(settle());
    ASSERT_EQ(m_webView->pageURL(), m_server.url("/hello"));
    EXPECT_EQ(m_webView->pageSourceChain(), chain);
    identities.push_back(m_webView->pageIdentity());
    m_webView->goForward();
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_webView->pageSourceChain(), next);
    m_webView->goBack();
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_webView->pageSourceChain(), chain);
    identities.push_back(m_webView->pageIdentity());
    // Back, reload, forward, back: each asked about the final address with the first chain.
    ASSERT_EQ(m_delegate->asked.size(), asked + 4);
    for (std::size_t move = asked; move < asked + 4; ++move) {
        EXPECT_EQ(m_delegate->asked[move], m_server.url(move == asked + 2 ? "/second" : "/hello"));
        EXPECT_EQ(m_delegate->chains[move], move == asked + 2 ? next : chain) << move - asked;
    }

    // What the page shown again asks for carries all that led to it.
    ASSERT_TRUE(m_webView->simulateNavigation(m_server.url("/page")));
    EXPECT_EQ(m_delegate->chains.back(), next);
    ASSERT_TRUE(settle());

    // The same address shown again is another page each time.
    EXPECT_NE(identities[0], identities[1]);
    EXPECT_NE(identities[1], identities[2]);
    EXPECT_NE(identities[0], identities[2]);
    EXPECT_NE(m_webView->pageIdentity(), identities[2]);
}

// With no page yet, reload tries the load again where its redirects had taken it, still
// answering for the addresses on the way.
TEST_F(WebViewTest, AFirstLoadTriedAgainKeepsItsRedirects) {
    m_delegate->refused = "/hello";
    m_webView->loadRequest(URLRequest{m_server.url("/hops/1")});
    ASSERT_TRUE(settle());
    ASSERT_FALSE(m_webView->hasPage());

    m_webView->reload();
    EXPECT_EQ(m_delegate->asked.back(), m_server.url("/hops/0"));
    EXPECT_EQ(m_delegate->chains.back(), std::vector<std::string>{m_server.url("/hops/1")});
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_delegate->asked.back(), m_server.url("/hello"));
    EXPECT_EQ(m_delegate->chains.back(),
              (std::vector<std::string>{m_server.url("/hops/1"), m_server.url("/hops/0")}));
}

TEST_F(WebViewTest, ARedirectLoopFailsTheLoadAfterTheHopLimit) {
    m_webView->loadRequest(URLRequest{m_server.url("/loop")});
    ASSERT_TRUE(settle());

    ASSERT_EQ(m_delegate->errors.size(), 1u);
    EXPECT_EQ(m_delegate->errors[0].code, WebError::kHTTPTooManyRedirects);
    EXPECT_EQ(m_delegate->count("asked"), 1 + WebView::kMaxRedirects);
    EXPECT_EQ(m_delegate->count("finish"), 0);
    EXPECT_FALSE(m_webView->hasPage());

    // A hop to an address the client never fetches fails as such.
    m_webView->loadRequest(URLRequest{m_server.url("/to-file")});
    ASSERT_TRUE(settle());
    EXPECT_EQ(m_delegate->asked.back(), "file:///etc/hostname");
    ASSERT_EQ(m_delegate->errors.size(), 2u);
    EXPECT_EQ(m_delegate->errors[1].code, WebError::kUnsupportedURL);
    EXPECT_FALSE(m_webView->hasPage());
}

}  // namespace
