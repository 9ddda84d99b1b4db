#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/RunLoop.h"
#include "platform/webkit/EngineLoader.h"
#include "tests/webkit/PageServing.h"

// The engine through its interface, on real WebKit pages served on the loopback: what the web
// view and the bridge rely on.

namespace {

using namespace platform::webkit;

class RecordingClient : public ViewClient {
public:
    std::vector<NavigationAsk> asks;
    std::vector<std::pair<LoadStage, std::string>> loads;
    std::vector<LoadFailure> failures;
    std::vector<std::string> messages;
    std::vector<DialogAsk> dialogs;
    std::vector<ChoicesAsk> choices;
    std::vector<ProcessEnd> ends;
    std::string title;
    std::shared_ptr<const Pixels> lastPaint;
    EngineView* view{nullptr};
    // What the client answers a navigation; by default every one goes.
    std::function<bool(const NavigationAsk&)> allow = [](const NavigationAsk&) { return true; };

    void navigationAsked(const NavigationAsk& ask) override {
        asks.push_back(ask);
        view->decide(ask.id, allow(ask));
    }
    void loadChanged(LoadStage stage, const std::string& url, int /*status*/) override {
        loads.emplace_back(stage, url);
    }
    void loadFailed(const LoadFailure& failure) override { failures.push_back(failure); }
    void titleChanged(const std::string& text) override { title = text; }
    void worldMessage(const std::string& json) override { messages.push_back(json); }
    void dialogAsked(const DialogAsk& ask) override { dialogs.push_back(ask); }
    void choicesAsked(const ChoicesAsk& ask) override { choices.push_back(ask); }
    void filesAsked(const FilesAsk&) override {}
    void processEnded(ProcessEnd why) override { ends.push_back(why); }
    void painted(std::shared_ptr<const Pixels> pixels) override { lastPaint = std::move(pixels); }

    int finishedLoads() const {
        int count = 0;
        for (const auto& load : loads) count += load.first == LoadStage::Finished;
        return count;
    }
};

class EngineTest : public ::testing::Test {
protected:
    // One server for the suite: WebKit keeps its connections open, and a server stopped under
    // them waits out their keep-alive.
    static void SetUpTestSuite() {
        s_server = new fakes::FakeSchoolServices();
        s_server->start();
    }

    void SetUp() override {
        ASSERT_NE(engine(), nullptr) << loadError();
        s_server->clearOverrides();
        s_server->clearRequests();
        client = std::make_shared<RecordingClient>();
        view = engine()->makeView(client, options);
        client->view = view.get();
        view->setGeometry(375, 600, 1);
    }

    void page(const std::string& path, const std::string& html) {
        webkittest::servePage(server, path, html);
    }

    bool waitFor(const std::function<bool()>& condition) { return webkittest::waitFor(condition); }

    void open(const std::string& path) {
        const int before = client->finishedLoads();
        view->load({server.baseUrl() + path});
        ASSERT_TRUE(waitFor([&] { return client->finishedLoads() > before; }));
    }

    std::string eval(const std::string& script, World world = World::Page) {
        return view->evaluateWithin(script, world, std::chrono::seconds(5)).value_or("(none)");
    }

    static inline fakes::FakeSchoolServices* s_server = nullptr;
    fakes::FakeSchoolServices& server = *s_server;
    ViewOptions options;
    std::shared_ptr<RecordingClient> client;
    std::unique_ptr<EngineView> view;
};

TEST_F(EngineTest, APageRunsItsScriptFilesTimersAndRequests) {
    fakes::Reply script;
    script.contentType = "application/javascript";
    script.body = "window.fromFile = 'file ran';";
    server.setReply("GET", "/app.js", script);
    fakes::Reply data;
    data.body = R"({"name":"课表"})";
    server.setReply("GET", "/data.json", data);
    page("/page.html", R"(<html><head><script src="app.js"></script></head><body><p id=out></p>
<script>
document.addEventListener('DOMContentLoaded', function () {
  var xhr = new XMLHttpRequest();
  xhr.open('GET', 'data.json');
  xhr.onload = function () {
    setTimeout(function () {
      document.getElementById('out').textContent = window.fromFile + ' ' + JSON.parse(xhr.responseText).name;
      document.title = 'ready';
    }, 10);
  };
  xhr.send();
});
</script></body></html>)");
    open("/page.html");
    ASSERT_TRUE(waitFor([&] { return client->title == "ready"; }));
    EXPECT_EQ(eval("document.getElementById('out').textContent"), "file ran 课表");
}

TEST_F(EngineTest, EveryNavigationIsAskedAndARefusedOneLeavesThePage) {
    page("/first.html", "<html><body><a id=go href='second.html'>go</a></body></html>");
    page("/second.html", "<html><body>second</body></html>");
    open("/first.html");
    ASSERT_EQ(client->asks.size(), 1u);
    EXPECT_EQ(client->asks[0].url, server.baseUrl() + "/first.html");
    EXPECT_EQ(client->asks[0].referrer, "");

    client->allow = [](const NavigationAsk& ask) {
        return ask.url.find("second") == std::string::npos;
    };
    eval("document.getElementById('go').click()");
    ASSERT_TRUE(waitFor([&] { return client->asks.size() == 2; }));
    EXPECT_EQ(client->asks[1].url, server.baseUrl() + "/second.html");
    EXPECT_EQ(client->asks[1].kind, NavigationKind::LinkClicked);
    EXPECT_EQ(client->asks[1].referrer, server.baseUrl() + "/first.html");
    EXPECT_EQ(client->asks[1].viewURL, server.baseUrl() + "/first.html");
    // Refused: nothing was fetched and the page is the one it was.
    EXPECT_TRUE(server.requestsTo("/second.html").empty());
    EXPECT_EQ(eval("location.href"), server.baseUrl() + "/first.html");
}

TEST_F(EngineTest, ARedirectIsAskedHopByHop) {
    fakes::Reply hop;
    hop.status = 302;
    hop.location = server.baseUrl() + "/landing.html";
    server.setReply("GET", "/hop", hop);
    page("/landing.html", "<html><body>landed</body></html>");
    open("/hop");
    ASSERT_EQ(client->asks.size(), 2u);
    EXPECT_FALSE(client->asks[0].redirect);
    EXPECT_TRUE(client->asks[1].redirect);
    EXPECT_EQ(client->asks[1].url, server.baseUrl() + "/landing.html");
    // The hop the redirect leaves is the address the view is loading.
    EXPECT_EQ(client->asks[1].viewURL, server.baseUrl() + "/hop");
}

TEST_F(EngineTest, TheClientsWorldSharesTheDocumentButNotTheGlobals) {
    options.clientScript =
        "window.clientSecret = 7;"
        "document.addEventListener('DOMContentLoaded', function () {"
        "  window.webkit.messageHandlers.campus.postMessage(JSON.stringify({title: "
        "document.title}));"
        "});";
    view = engine()->makeView(client, options);
    client->view = view.get();
    page("/world.html", "<html><head><title>世界</title></head><body>x</body></html>");
    open("/world.html");
    ASSERT_TRUE(waitFor([&] { return !client->messages.empty(); }));
    EXPECT_EQ(client->messages[0], R"({"title":"世界"})");
    EXPECT_EQ(eval("typeof window.clientSecret"), "undefined");
    EXPECT_EQ(eval("typeof window.webkit"), "undefined");
    EXPECT_EQ(eval("typeof window.clientSecret", World::Client), "number");
    EXPECT_EQ(eval("document.title", World::Client), "世界");
}

TEST_F(EngineTest, AClickIsARealClickAtThePoint) {
    page("/button.html",
         "<html><body style='margin:0'><button style='width:200px;height:50px' "
         "onclick='document.title = event.isTrusted ? \"trusted\" : \"synthetic\"'>press</button>"
         "</body></html>");
    open("/button.html");
    view->click(100, 25);
    ASSERT_TRUE(waitFor([&] { return !client->title.empty(); }));
    EXPECT_EQ(client->title, "trusted");
}

TEST_F(EngineTest, ADialogWaitsForTheClientsAnswer) {
    page("/ask.html", "<html><body>ask</body></html>");
    open("/ask.html");
    view->evaluate("document.title = confirm('删除?') ? 'yes' : 'no'", World::Page);
    ASSERT_TRUE(waitFor([&] { return !client->dialogs.empty(); }));
    EXPECT_EQ(client->dialogs[0].kind, DialogAsk::Kind::Confirm);
    EXPECT_EQ(client->dialogs[0].message, "删除?");
    view->answerDialog(client->dialogs[0].id, true, "");
    ASSERT_TRUE(waitFor([&] { return client->title == "yes"; }));

    view->evaluate("document.title = prompt('name', 'x')", World::Page);
    ASSERT_TRUE(waitFor([&] { return client->dialogs.size() == 2; }));
    EXPECT_EQ(client->dialogs[1].defaultText, "x");
    view->answerDialog(client->dialogs[1].id, true, "李明");
    ASSERT_TRUE(waitFor([&] { return client->title == "李明"; }));
}

TEST_F(EngineTest, ASelectOffersItsChoicesToTheClient) {
    page("/select.html",
         "<html><body style='margin:0'><select id=s style='width:200px;height:40px' "
         "onchange='document.title = this.value'><option value=a>甲</option>"
         "<option value=b>乙</option></select></body></html>");
    open("/select.html");
    view->click(50, 20);
    ASSERT_TRUE(waitFor([&] { return !client->choices.empty(); }));
    ASSERT_EQ(client->choices[0].options.size(), 2u);
    EXPECT_EQ(client->choices[0].options[1].label, "乙");
    EXPECT_TRUE(client->choices[0].options[0].selected);
    view->answerChoices(client->choices[0].id, 1);
    ASSERT_TRUE(waitFor([&] { return client->title == "b"; }));
}

TEST_F(EngineTest, APageThatNeverYieldsIsEnded) {
    page("/spin.html", "<html><body>spin</body></html>");
    open("/spin.html");
    view->evaluate("while (true) {}", World::Page);
    ASSERT_TRUE(waitFor([&] { return !client->ends.empty(); }));
    EXPECT_EQ(client->ends[0], ProcessEnd::Unresponsive);
}

TEST_F(EngineTest, ASnapshotShowsThePageAtTheViewsSize) {
    page("/red.html", "<html><body style='margin:0;background:#ff0000'></body></html>");
    open("/red.html");
    std::shared_ptr<const Pixels> shot;
    view->snapshot([&](std::shared_ptr<const Pixels> pixels) {
        shot = pixels ? pixels : std::make_shared<Pixels>();
    });
    ASSERT_TRUE(waitFor([&] { return shot != nullptr; }));
    ASSERT_EQ(shot->width, 375);
    ASSERT_EQ(shot->height, 600);
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(shot->data.data() + 300 * shot->stride);
    EXPECT_EQ(row[200] & 0xffffffu, 0xff0000u);
}

TEST_F(EngineTest, ASyncKeepsNothingOnceDeliveredOrOnceItsViewIsGone) {
    page("/still.html", "<html><body>still</body></html>");
    open("/still.html");
    // Delivered on the page's turn, with no new document since: what it was given is let go
    // (and the view with it, which it would otherwise hold for ever).
    auto token = std::make_shared<int>(0);
    bool synced = false;
    view->sync([token, &synced] { synced = true; });
    ASSERT_TRUE(waitFor([&] { return synced; }));
    EXPECT_TRUE(waitFor([&] { return token.use_count() == 1; }));

    // Asked just before the view is let go: never delivered, and let go with the view.
    auto late = std::make_shared<int>(0);
    bool lateSynced = false;
    view->sync([late, &lateSynced] { lateSynced = true; });
    view.reset();
    EXPECT_TRUE(waitFor([&] { return late.use_count() == 1; }));
    EXPECT_FALSE(lateSynced);
}

}  // namespace

namespace {

TEST_F(EngineTest, BackReturnsToThePageBefore) {
    page("/one.html",
         "<html><head><title>one</title></head><body><a id=go "
         "href='two.html'>two</a></body></html>");
    page("/two.html", "<html><head><title>two</title></head><body>two</body></html>");
    open("/one.html");
    eval("document.getElementById('go').click()");
    ASSERT_TRUE(waitFor([&] { return client->title == "two"; }));
    view->goBack();
    ASSERT_TRUE(waitFor([&] { return client->title == "one"; }));
    EXPECT_EQ(client->asks.back().kind, NavigationKind::BackForward);
}

}  // namespace

namespace {

TEST_F(EngineTest, BackAfterARealClickAndASync) {
    page("/one.html",
         "<html><head><title>one</title></head><body style='margin:0'><a id=go href='two.html' "
         "style='display:block;height:50px'>two</a></body></html>");
    page("/two.html", "<html><head><title>two</title></head><body>two</body></html>");
    open("/one.html");
    view->setLive(true);
    view->click(20, 20);
    bool synced = false;
    view->sync([&] { synced = true; });
    ASSERT_TRUE(waitFor([&] { return client->title == "two"; }));
    ASSERT_TRUE(waitFor([&] { return synced; }));
    view->goBack();
    ASSERT_TRUE(waitFor([&] { return client->title == "one"; }));
}

}  // namespace

namespace {

TEST_F(EngineTest, AReplyCutShortFailsTheLoad) {
    fakes::Reply cut;
    cut.contentType = "text/html; charset=utf-8";
    cut.body = "<html><body>never sent</body></html>";
    cut.dropConnection = true;
    server.setReply("GET", "/cut.html", cut);
    view->load({server.baseUrl() + "/cut.html"});
    ASSERT_TRUE(waitFor([&] { return !client->failures.empty() || client->finishedLoads() > 0; }));
    ASSERT_FALSE(client->failures.empty());
    EXPECT_FALSE(client->failures[0].cancelled);
}

}  // namespace
