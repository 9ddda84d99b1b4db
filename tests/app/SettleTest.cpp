#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/Settle.h"
#include "fakes/FakeSchoolServices.h"
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
        services.setReply(
            "GET", "/second",
            fakes::Reply{200, "text/plain", "second", std::chrono::milliseconds(100)});
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

TEST_F(SettleTest, WaitsForRequestsThatRepliesStart) {
    std::string shown;
    platform::HttpClient& http = platform::HttpClient::shared();
    http.send(get("/first"), [&](platform::HttpResponse first) {
        shown = first.body;
        http.send(get("/second"),
                  [&](platform::HttpResponse second) { shown += "+" + second.body; });
    });
    EXPECT_TRUE(settle(SettleTiming{10, 0.05}));
    EXPECT_EQ(shown, "first+second");
}

TEST_F(SettleTest, GivesUpAtTheBoundWhenAServerDoesNotAnswer) {
    services.setReply("GET", "/never",
                      fakes::Reply{200, "text/plain", "", std::chrono::milliseconds(3000)});
    platform::HttpClient& http = platform::HttpClient::shared();
    auto id = http.send(get("/never"), {});
    EXPECT_FALSE(settle(SettleTiming{0.2, 0.05}));
    http.cancel(id);
    platform::RunLoop::main().runUntil([&] { return http.inFlight() == 0; });
}

}  // namespace
}  // namespace frontend
