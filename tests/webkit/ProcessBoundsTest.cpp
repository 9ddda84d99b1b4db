#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/RunLoop.h"
#include "platform/webkit/EngineLoader.h"
#include "tests/webkit/PageServing.h"

// A page that keeps its process's CPU busy is ended even while it still answers between its
// bursts of work, and only that page: the others go on, and ordinary heavy work is left alone.

namespace {

using namespace platform::webkit;

class PageClient : public ViewClient {
public:
    EngineView* view{nullptr};
    int finished{0};
    std::string title;
    std::vector<ProcessEnd> ends;

    void navigationAsked(const NavigationAsk& ask) override { view->decide(ask.id, true); }
    void loadChanged(LoadStage stage, const std::string&, int) override {
        finished += stage == LoadStage::Finished;
    }
    void loadFailed(const LoadFailure&) override {}
    void titleChanged(const std::string& text) override { title = text; }
    void dialogAsked(const DialogAsk&) override {}
    void choicesAsked(const ChoicesAsk&) override {}
    void filesAsked(const FilesAsk&) override {}
    void processEnded(ProcessEnd why) override { ends.push_back(why); }
};

// Works in 30 ms slices, a timer's turn apart, without end: every ping is answered.
const char* kSlicesPage =
    "<html><body><p>slices</p><script>(function work() {"
    " var end = performance.now() + 30; while (performance.now() < end) {}"
    " setTimeout(work, 0); })();</script></body></html>";

class ProcessBoundsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_server = new fakes::FakeSchoolServices();
        s_server->start();
    }

    void SetUp() override {
        ASSERT_NE(engine(), nullptr) << loadError();
        webkittest::servePage(*s_server, "/slices.html", kSlicesPage);
    }

    struct Shown {
        std::shared_ptr<PageClient> client;
        std::unique_ptr<EngineView> view;
    };

    // A view of its own (and so a process of its own) loading the page at `path`.
    Shown show(const std::string& path) {
        Shown shown;
        shown.client = std::make_shared<PageClient>();
        shown.view = engine()->makeView(shown.client, {});
        shown.client->view = shown.view.get();
        shown.view->setGeometry(375, 600, 1);
        shown.view->load({s_server->baseUrl() + path});
        return shown;
    }

    // The bound is on the CPU time a page has had, which a loaded machine hands out slowly.
    static bool waitForEnd(const Shown& shown) {
        return platform::RunLoop::main().runUntil([&] { return !shown.client->ends.empty(); },
                                                  std::chrono::seconds(60));
    }

    static inline fakes::FakeSchoolServices* s_server = nullptr;
};

TEST_F(ProcessBoundsTest, APageBusyInSlicesIsEndedWhileAnotherPageGoesOn) {
    // Counts its timer's turns in its title, which the view hears of each time.
    webkittest::servePage(*s_server, "/ticking.html",
                          "<html><body><script>var ticks = 0; setInterval(function () {"
                          " document.title = 'tick ' + ++ticks; }, 20);</script></body></html>");
    Shown ticking = show("/ticking.html");
    ASSERT_TRUE(webkittest::waitFor([&] { return ticking.client->finished > 0; }));
    Shown busy = show("/slices.html");
    ASSERT_TRUE(waitForEnd(busy));
    EXPECT_EQ(busy.client->ends[0], ProcessEnd::Unresponsive);
    const std::string ticked = ticking.client->title;
    EXPECT_TRUE(webkittest::waitFor([&] { return ticking.client->title != ticked; }));
    EXPECT_TRUE(ticking.client->ends.empty());
}

TEST_F(ProcessBoundsTest, APageBusyInAWorkerIsEnded) {
    // The page itself stays idle and answers; its worker never stops.
    webkittest::servePage(*s_server, "/worker.html",
                          "<html><body><script>var worker = new Worker(URL.createObjectURL("
                          "new Blob(['for (;;) {}'], {type: 'text/javascript'})));"
                          "</script></body></html>");
    Shown busy = show("/worker.html");
    ASSERT_TRUE(waitForEnd(busy));
    EXPECT_EQ(busy.client->ends[0], ProcessEnd::Unresponsive);
}

TEST_F(ProcessBoundsTest, OrdinaryHeavyWorkIsNotEnded) {
    // A long document to parse and lay out, then a script that works 0.8 s at once: about a
    // second of work, as a heavy page may take.
    std::string html = "<html><body>";
    for (int i = 0; i < 3000; ++i)
        html += "<p>第" + std::to_string(i) + "段：学校召开教学工作会议，布置本学期工作。</p>";
    html +=
        "<script>var end = performance.now() + 800; while (performance.now() < end) {}"
        "document.title = 'worked';</script></body></html>";
    webkittest::servePage(*s_server, "/heavy.html", html);
    Shown heavy = show("/heavy.html");
    ASSERT_TRUE(webkittest::waitFor(
        [&] { return heavy.client->title == "worked" && heavy.client->finished > 0; }));
    // The heavy page's work is over. A busy page shown after it is ended only once its own
    // work has gone past the bound, by when the heavy page's would have been seen.
    Shown busy = show("/slices.html");
    ASSERT_TRUE(waitForEnd(busy));
    EXPECT_TRUE(heavy.client->ends.empty());
    EXPECT_EQ(heavy.view->evaluateWithin("document.title", World::Page, std::chrono::seconds(5)),
              "worked");
}

}  // namespace
