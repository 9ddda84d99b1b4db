#include <gtest/gtest.h>

#include <thread>

#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "tests/net/TestServer.h"

using namespace platform;
using nettest::TestServer;

namespace {

constexpr auto kBound = std::chrono::seconds(5);

class HttpClientTest : public ::testing::Test {
protected:
    void TearDown() override { RunLoop::main().reset(); }

    // Sends asynchronously and pumps the main loop until the one completion has run.
    HttpResponse fetch(HttpRequest request) {
        int calls = 0;
        HttpResponse result;
        HttpClient::shared().send(std::move(request), [&](HttpResponse response) {
            ++calls;
            result = std::move(response);
        });
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return calls > 0; }, kBound));
        EXPECT_EQ(calls, 1);
        return result;
    }

    static HttpRequest get(std::string url) {
        HttpRequest request;
        request.url = std::move(url);
        return request;
    }

    static HttpRequest post(std::string url, std::string body = {}) {
        HttpRequest request;
        request.method = "POST";
        request.url = std::move(url);
        request.body = std::move(body);
        return request;
    }

    static std::string binaryBytes(size_t size) {
        std::string bytes;
        for (size_t i = 0; i < size; ++i) bytes.push_back(static_cast<char>(i % 256));
        // The sequences a multipart or header parser would trip over.
        return bytes + std::string("\r\n--\0\r\n\r\n", 9);
    }

    TestServer server;
};

// --- Replies ---------------------------------------------------------------------------------

TEST_F(HttpClientTest, GetReportsStatusBodyAndHeaders) {
    HttpResponse response = fetch(get(server.url("/hello")));
    EXPECT_TRUE(response.ok());
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "hello");
    EXPECT_EQ(response.error, "");
    EXPECT_EQ(response.header("X-TEST"), "yes");
    EXPECT_EQ(response.header("x-missing"), std::nullopt);
    EXPECT_EQ(response.mimeType(), "text/html");
    EXPECT_EQ(response.url, server.url("/hello"));
}

TEST_F(HttpClientTest, ServerErrorIsAResponseNotATransportFailure) {
    HttpResponse response = fetch(get(server.url("/fail")));
    EXPECT_EQ(response.status, 500);
    EXPECT_EQ(response.error, "");
    EXPECT_EQ(response.body, "{\"broken\":true}");
    EXPECT_FALSE(response.ok());
}

TEST_F(HttpClientTest, DeadPortGivesAnErrorAndNoStatus) {
    HttpResponse response =
        fetch(get("http://127.0.0.1:" + std::to_string(nettest::deadPort()) + "/hello"));
    EXPECT_EQ(response.status, 0);
    EXPECT_NE(response.error, "");
    EXPECT_FALSE(response.ok());
}

TEST_F(HttpClientTest, RedirectIsFollowedAndTheFinalUrlReported) {
    HttpResponse response = fetch(get(server.url("/redirect")));
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "hello");
    EXPECT_EQ(response.url, server.url("/hello"));
}

TEST_F(HttpClientTest, NonWebUrlIsRefused) {
    HttpResponse response = fetch(get("file:///etc/hostname"));
    EXPECT_EQ(response.status, 0);
    EXPECT_NE(response.error, "");
    EXPECT_EQ(response.body, "");
}

// --- Completions -----------------------------------------------------------------------------

TEST_F(HttpClientTest, CompletionRunsLaterOnTheMainThreadExactlyOnce) {
    int calls = 0;
    std::thread::id ranOn;
    HttpClient::shared().send(get(server.url("/hello")), [&](HttpResponse) {
        ++calls;
        ranOn = std::this_thread::get_id();
    });
    EXPECT_EQ(calls, 0) << "send() must return before the reply";
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return calls > 0; }, kBound));
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    RunLoop::main().runFor(std::chrono::milliseconds(50));
    EXPECT_EQ(calls, 1);
}

TEST_F(HttpClientTest, ManyConcurrentRequestsEachCompleteOnce) {
    constexpr int kCount = 40;
    std::vector<int> calls(kCount, 0);
    std::vector<std::string> bodies(kCount);
    for (int i = 0; i < kCount; ++i) {
        // Every fourth fails at once; the rest wait their turn at the server.
        std::string url = i % 4 == 3 ? server.url("/fail") : server.url("/hello");
        HttpClient::shared().send(get(url), [&, i](HttpResponse response) {
            ++calls[i];
            bodies[i] = response.body;
        });
    }
    // A request nobody waits for must not disturb the others.
    HttpClient::shared().send(get(server.url("/hello")), {});
    auto allDone = [&] {
        for (int c : calls) {
            if (c == 0)
                return false;
        }
        return true;
    };
    ASSERT_TRUE(RunLoop::main().runUntil(allDone, kBound));
    RunLoop::main().runFor(std::chrono::milliseconds(50));
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(calls[i], 1) << "request " << i;
        EXPECT_EQ(bodies[i], i % 4 == 3 ? "{\"broken\":true}" : "hello") << "request " << i;
    }
}

TEST_F(HttpClientTest, RequestOutlastingItsTimeoutFails) {
    HttpRequest request = get(server.url("/slow"));
    request.timeoutSeconds = 0.3;
    HttpResponse response = fetch(request);
    EXPECT_EQ(response.status, 0);
    EXPECT_NE(response.error, "");
    EXPECT_FALSE(response.ok());
}

TEST_F(HttpClientTest, CancelledRequestCompletesOnceAsCancelled) {
    int calls = 0;
    HttpResponse result;
    auto id = HttpClient::shared().send(get(server.url("/slow")), [&](HttpResponse response) {
        ++calls;
        result = std::move(response);
    });
    HttpClient::shared().cancel(id);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return calls > 0; }, kBound));
    EXPECT_EQ(result.error, "cancelled");
    EXPECT_EQ(result.status, 0);
    // Let the server answer: the dropped request must not complete a second time.
    server.release();
    RunLoop::main().runFor(std::chrono::milliseconds(100));
    EXPECT_EQ(calls, 1);
}

TEST_F(HttpClientTest, CancellingAFinishedRequestChangesNothing) {
    int calls = 0;
    auto id = HttpClient::shared().send(get(server.url("/hello")), [&](HttpResponse response) {
        ++calls;
        EXPECT_TRUE(response.ok());
    });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return calls > 0; }, kBound));
    HttpClient::shared().cancel(id);
    HttpClient::shared().cancel(987654321);
    RunLoop::main().runFor(std::chrono::milliseconds(50));
    EXPECT_EQ(calls, 1);
}

// --- What the server receives ----------------------------------------------------------------

TEST_F(HttpClientTest, PostWithoutBodySendsZeroContentLength) {
    HttpResponse response = fetch(post(server.url("/echo?userName=a&password=b")));
    ASSERT_TRUE(response.ok()) << response.error;
    auto seen = server.last();
    EXPECT_EQ(seen.method, "POST");
    EXPECT_EQ(seen.header("Content-Length"), "0");
    EXPECT_FALSE(seen.hasHeader("Transfer-Encoding"));
    EXPECT_FALSE(seen.hasHeader("Expect"));
    EXPECT_FALSE(seen.hasHeader("Content-Type"));
    EXPECT_EQ(seen.params.find("password")->second, "b");
}

TEST_F(HttpClientTest, FormPostArrivesWithEveryValueIntact) {
    std::vector<std::pair<std::string, std::string>> params{
        {"userId", "a&b=c+d"}, {"title", "意见 反馈"}, {"contents", "100% /?#"}};
    HttpRequest request = post(server.url("/echo"), HttpClient::formEncode(params));
    request.headers.emplace_back("Content-Type", "application/x-www-form-urlencoded");
    request.headers.emplace_back("X-Client", "campus");
    ASSERT_TRUE(fetch(request).ok());
    auto seen = server.last();
    EXPECT_EQ(seen.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(seen.header("X-Client"), "campus");
    ASSERT_EQ(seen.params.size(), 3u);
    for (const auto& [name, value] : params) {
        ASSERT_EQ(seen.params.count(name), 1u) << name;
        EXPECT_EQ(seen.params.find(name)->second, value) << name;
    }
}

TEST_F(HttpClientTest, BinaryBodyRoundTripsWhole) {
    std::string bytes = binaryBytes(1000);
    HttpRequest request = post(server.url("/echo"), bytes);
    request.method = "PUT";
    request.headers.emplace_back("Content-Type", "application/octet-stream");
    HttpResponse response = fetch(request);
    EXPECT_EQ(server.last().method, "PUT");
    EXPECT_EQ(server.last().body, bytes);
    EXPECT_EQ(response.body, bytes);
}

TEST_F(HttpClientTest, MultipartPartsArriveInOrderAndIntact) {
    std::string photo = binaryBytes(5000);
    HttpRequest request;
    request.method = "POST";
    request.url = server.url("/upload");
    request.parts = {
        {"account", "", "", "张三"},
        {"photo", "照片.jpg", "image/jpeg", photo},
        {"note", "n.txt", "text/plain", "line one\r\nline two"},
        {"a-last-field", "", "", ""},
    };
    ASSERT_TRUE(fetch(request).ok());
    auto parts = server.last().parts;
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0].name, "account");
    EXPECT_EQ(parts[0].filename, "");
    EXPECT_EQ(parts[0].content_type, "");
    EXPECT_EQ(parts[0].content, "张三");
    EXPECT_EQ(parts[1].name, "photo");
    EXPECT_EQ(parts[1].filename, "照片.jpg");
    EXPECT_EQ(parts[1].content_type, "image/jpeg");
    EXPECT_EQ(parts[1].content, photo);
    EXPECT_EQ(parts[2].name, "note");
    EXPECT_EQ(parts[2].filename, "n.txt");
    EXPECT_EQ(parts[2].content_type, "text/plain");
    EXPECT_EQ(parts[2].content, "line one\r\nline two");
    EXPECT_EQ(parts[3].name, "a-last-field");
    EXPECT_EQ(parts[3].content, "");
    EXPECT_FALSE(server.last().hasHeader("Expect"));
}

TEST_F(HttpClientTest, IgnoringTheCacheAsksForAFreshReply) {
    HttpRequest request = get(server.url("/hello"));
    request.ignoreCache = true;
    ASSERT_TRUE(HttpClient::shared().sendSync(request).ok());
    EXPECT_EQ(server.last().header("Cache-Control"), "no-cache");
    EXPECT_EQ(server.last().header("Pragma"), "no-cache");
}

TEST_F(HttpClientTest, HeaderValuesCannotInjectHeaders) {
    HttpRequest request = get(server.url("/hello"));
    request.headers.emplace_back("X-Name", "a\r\nX-Injected: yes");
    ASSERT_TRUE(fetch(request).ok());
    EXPECT_FALSE(server.last().hasHeader("X-Injected"));
}

TEST_F(HttpClientTest, UploadProgressRunsOnTheMainThreadAndReachesTheTotal) {
    std::string body = binaryBytes(4 * 1024 * 1024);
    const auto total = static_cast<std::int64_t>(body.size());
    std::vector<std::pair<std::int64_t, std::int64_t>> progress;
    bool offMainThread = false;
    bool progressAfterCompletion = false;
    bool done = false;
    HttpRequest request = post(server.url("/echo"), body);
    request.headers.emplace_back("Content-Type", "application/octet-stream");
    request.uploadProgress = [&](std::int64_t sent, std::int64_t of) {
        offMainThread |= !RunLoop::main().isCurrent();
        progressAfterCompletion |= done;
        progress.emplace_back(sent, of);
    };
    HttpClient::shared().send(std::move(request), [&](HttpResponse) { done = true; });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return done; }, kBound));
    ASSERT_FALSE(progress.empty());
    EXPECT_FALSE(offMainThread);
    EXPECT_FALSE(progressAfterCompletion);
    for (size_t i = 1; i < progress.size(); ++i)
        EXPECT_LT(progress[i - 1].first, progress[i].first);
    EXPECT_EQ(progress.back(), std::make_pair(total, total));
}

// --- Synchronous calls -----------------------------------------------------------------------

TEST_F(HttpClientTest, SendSyncOnTheMainThreadReturnsTheReply) {
    HttpResponse response = HttpClient::shared().sendSync(get(server.url("/hello")));
    EXPECT_TRUE(response.ok());
    EXPECT_EQ(response.body, "hello");
}

TEST_F(HttpClientTest, SendSyncWorksFromABackgroundThread) {
    HttpResponse response;
    std::thread worker([&] { response = HttpClient::shared().sendSync(get(server.url("/fail"))); });
    worker.join();
    EXPECT_EQ(response.status, 500);
    EXPECT_EQ(response.body, "{\"broken\":true}");
}

TEST_F(HttpClientTest, SendSyncWithoutUrlAnswersNoResponse) {
    HttpRequest request;
    request.timeoutSeconds = 5;
    HttpResponse response = HttpClient::shared().sendSync(request);
    EXPECT_EQ(response.status, 0);
    EXPECT_NE(response.error, "");
}

TEST_F(HttpClientTest, SendSyncHonoursItsTimeout) {
    HttpRequest request = get(server.url("/slow"));
    request.timeoutSeconds = 0.3;
    HttpResponse response = HttpClient::shared().sendSync(request);
    EXPECT_EQ(response.status, 0);
    EXPECT_NE(response.error, "");
}

TEST_F(HttpClientTest, SyncUploadOnTheMainThreadReportsProgressDuringTheCall) {
    std::string body = binaryBytes(256 * 1024);
    std::int64_t lastSent = 0;
    HttpRequest request = post(server.url("/echo"), body);
    request.uploadProgress = [&](std::int64_t sent, std::int64_t) { lastSent = sent; };
    ASSERT_TRUE(HttpClient::shared().sendSync(request).ok());
    EXPECT_EQ(lastSent, static_cast<std::int64_t>(body.size()));
}

}  // namespace
