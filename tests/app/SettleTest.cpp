#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/Settle.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"

namespace frontend {
namespace {

class SettleTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.start();
        services.setReply("GET", "/slow",
                          fakes::Reply{200, "text/plain", "late", std::chrono::milliseconds(200)});
        services.setReply("GET", "/first", fakes::Reply{200, "text/plain", "first"});
        services.setReply("GET", "/second", fakes::Reply{200, "text/plain", "second"});
    }
    void TearDown() override {
        platform::RunLoop::main().reset();
        platform::RunLoop::main().useRealClock();
    }

    platform::HttpRequest get(const std::string& path) {
        platform::HttpRequest request;
        request.url = services.baseUrl() + path;
        return request;
    }

    fakes::FakeSchoolServices services;
};

TEST_F(SettleTest, ARequestCountsAsInFlightUntilItsCompletionHasRunOrItIsCancelled) {
    platform::HttpClient& http = platform::HttpClient::shared();
    bool done = false;
    http.send(get("/slow"), [&](platform::HttpResponse) { done = true; });
    EXPECT_EQ(http.inFlight(), 1u);
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return done; }));
    EXPECT_EQ(http.inFlight(), 0u);

    http.cancel(http.send(get("/slow"), {}));
    EXPECT_TRUE(platform::RunLoop::main().runUntil([&] { return http.inFlight() == 0; }));
}

// A slow host keeps a reply in flight; once the client has shown that it waits for a second,
// the user has the prompt back (and may go back), while the reply is still on its way.
TEST_F(SettleTest, EndsOnceTheClientHasVisiblyWaitedForASecond) {
    services.holdReplies("GET", "/held");
    platform::HttpClient& http = platform::HttpClient::shared();
    bool done = false;
    http.send(get("/held"), [&](platform::HttpResponse) { done = true; });
    SettleTiming timing;
    timing.boundSeconds = 8;
    EXPECT_TRUE(settle(timing, [] { return true; }));
    EXPECT_FALSE(done);
    // Without a visible wait it does not rest while the reply is held.
    timing.boundSeconds = 0.3;
    EXPECT_FALSE(settle(timing, [] { return false; }));
    services.releaseHeld("/held");
    EXPECT_TRUE(platform::RunLoop::main().runUntil([&] { return done; }));
}

// A completion runs only on the main loop, so whatever settle leaves done, it waited for.
TEST_F(SettleTest, WaitsForRequestsInFlightAndThoseTheirRepliesStart) {
    std::string shown;
    platform::HttpClient& http = platform::HttpClient::shared();
    http.send(get("/first"), [&](platform::HttpResponse first) {
        shown = first.body;
        http.send(get("/second"),
                  [&](platform::HttpResponse second) { shown += "+" + second.body; });
    });
    EXPECT_TRUE(settle());
    EXPECT_EQ(shown, "first+second");
}

// Clearing a disk cache, say, runs on the background pool and reports on the main loop.
TEST_F(SettleTest, WaitsForBackgroundWorkAndWhatItPostsBack) {
    platform::Semaphore started;
    platform::Semaphore release;
    std::string shown;
    platform::dispatch::async([&] {
        started.signal();
        release.wait();
        platform::dispatch::mainAsync([&] { shown = "cleared"; });
    });
    started.wait();
    EXPECT_EQ(platform::dispatch::backgroundWorkInFlight(), 1u);
    // Still working: settle gives up at its bound rather than showing a half-done screen.
    EXPECT_FALSE(settle({.boundSeconds = 0.05}));
    release.signal();
    EXPECT_TRUE(settle());
    EXPECT_EQ(shown, "cleared");
    EXPECT_EQ(platform::dispatch::backgroundWorkInFlight(), 0u);
}

TEST_F(SettleTest, WaitsForTransitionsButNotForLaterTimersOrRepeatingOnes) {
    platform::RunLoop& loop = platform::RunLoop::main();
    std::string ran;
    loop.postDelayed(platform::seconds(0.05), [&] {
        ran += "transition;";
        // The end of one animation often starts the next.
        loop.postDelayed(platform::seconds(0.05), [&] { ran += "next;"; });
        loop.post([&] { ran += "posted;"; });
    });
    auto later = loop.postDelayed(platform::seconds(3600), [&] { ran += "later;"; });
    // However near its next firing, a repeating timer that is not due does not hold it.
    auto ticking =
        loop.scheduleTimer(platform::seconds(60), true, [&](platform::Timer&) { ran += "tick;"; });
    EXPECT_TRUE(settle(SettleTiming{10, 120}));
    EXPECT_EQ(ran, "transition;posted;next;");

    EXPECT_TRUE(settle(SettleTiming{10, 0.5}));
    EXPECT_EQ(ran, "transition;posted;next;");
    EXPECT_TRUE(later.isPending());
    later.cancel();
    ticking->invalidate();
}

TEST_F(SettleTest, TimedChangesComeToPassWithWhatTheyStartAndLaterOnesWait) {
    platform::RunLoop& loop = platform::RunLoop::main();
    auto clock = loop.useSkippingClock();
    const auto start = loop.now();
    std::string ran;
    // A toast hides after a second, then a reply comes, then the next screen after a moment;
    // an overlay's time-out further off is not a change under way.
    loop.postDelayed(platform::seconds(1), [&] {
        ran += "hidden;";
        platform::HttpClient::shared().send(get("/slow"), [&](platform::HttpResponse reply) {
            ran += reply.body + ";";
            loop.postDelayed(platform::seconds(0.7), [&] { ran += "next;"; });
        });
    });
    auto timeOut = loop.postDelayed(platform::seconds(20), [&] { ran += "timed out;"; });
    int ticks = 0;
    auto ticking =
        loop.scheduleTimer(platform::seconds(0.5), true, [&](platform::Timer&) { ++ticks; });

    EXPECT_TRUE(settleTimedChanges(clock));
    EXPECT_EQ(ran, "hidden;late;next;");
    EXPECT_TRUE(timeOut.isPending());
    // The client saw the time pass: the repeating timer kept its beat meanwhile.
    EXPECT_GE(loop.now() - start, platform::seconds(1.7));
    EXPECT_GE(ticks, 3);
    timeOut.cancel();
    ticking->invalidate();
}

TEST_F(SettleTest, GivesUpAtTheBoundWhenAServerDoesNotAnswer) {
    services.setReply("GET", "/never",
                      fakes::Reply{200, "text/plain", "", std::chrono::milliseconds(3000)});
    platform::HttpClient& http = platform::HttpClient::shared();
    auto id = http.send(get("/never"), {});
    EXPECT_FALSE(settle(SettleTiming{0.2}));
    http.cancel(id);
    platform::RunLoop::main().runUntil([&] { return http.inFlight() == 0; });
}

}  // namespace
}  // namespace frontend
