#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/RunLoop.h"
#include "platform/webkit/EngineLoader.h"

// A page that takes more memory than a web process may have is ended, and its host told why.

namespace {

using namespace platform::webkit;

// Before the engine loads (when this binary starts): a limit a page can pass quickly.
const bool kLimitSet = [] {
    setenv("CAMPUS_WEB_MEMORY_MB", "256", 1);
    return true;
}();

class EndsClient : public ViewClient {
public:
    EngineView* view{nullptr};
    int finished{0};
    std::vector<ProcessEnd> ends;
    void navigationAsked(const NavigationAsk& ask) override { view->decide(ask.id, true); }
    void loadChanged(LoadStage stage, const std::string&, int) override {
        finished += stage == LoadStage::Finished;
    }
    void loadFailed(const LoadFailure&) override {}
    void dialogAsked(const DialogAsk&) override {}
    void choicesAsked(const ChoicesAsk&) override {}
    void filesAsked(const FilesAsk&) override {}
    void processEnded(ProcessEnd why) override { ends.push_back(why); }
};

TEST(MemoryLimitTest, APageThatKeepsAllocatingHasItsProcessEnded) {
    ASSERT_TRUE(kLimitSet);
    ASSERT_NE(engine(), nullptr) << loadError();
    fakes::FakeSchoolServices server;
    server.start();
    fakes::Reply page;
    page.contentType = "text/html; charset=utf-8";
    // Grows in steps, a turn apart, so that the limit's checks see it grow.
    page.body =
        "<html><body><script>var kept = [];"
        "setInterval(function () { for (var i = 0; i < 16; i++) "
        "kept.push(new Uint8Array(4 << 20).fill(7)); }, 20);</script></body></html>";
    server.setReply("GET", "/hungry.html", page);
    auto client = std::make_shared<EndsClient>();
    auto view = engine()->makeView(client, {});
    client->view = view.get();
    view->load({server.baseUrl() + "/hungry.html"});
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return !client->ends.empty(); },
                                                   std::chrono::seconds(60)));
    EXPECT_EQ(client->ends[0], ProcessEnd::MemoryLimit);
}

}  // namespace
