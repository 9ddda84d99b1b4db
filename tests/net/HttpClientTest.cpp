#include <gtest/gtest.h>
#include <zlib.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "tests/net/TestServer.h"
#include "tests/support/LoopbackOnly.h"
#include "tests/support/RefusingPort.h"

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

    static HttpRequest get(std::string url) { return {.url = std::move(url)}; }
    static HttpRequest post(std::string url, std::string body = {}) {
        return {.method = "POST", .url = std::move(url), .body = std::move(body)};
    }

    static std::string binaryBytes(size_t size) {
        std::string bytes;
        for (size_t i = 0; i < size; ++i) bytes.push_back(static_cast<char>(i % 256));
        // The sequences a multipart or header parser would trip over.
        return bytes + std::string("\r\n--\0\r\n\r\n", 9);
    }

    // `mebibytes` MiB of zeros, gzipped without deflating them all: after a full flush the
    // deflate state starts afresh, so each further MiB compresses to the same bytes and can be
    // repeated; the trailer's checksum is combined arithmetically.
    static std::string gzipBomb(int mebibytes) {
        const std::string zeros(1 << 20, '\0');
        z_stream stream{};
        deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
        auto deflateSome = [&](const std::string& in, int flush) {
            std::string out(deflateBound(&stream, in.size()) + 64, '\0');
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
            stream.avail_in = static_cast<uInt>(in.size());
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            deflate(&stream, flush);
            out.resize(out.size() - stream.avail_out);
            return out;
        };
        std::string body = deflateSome(zeros, Z_FULL_FLUSH);
        const std::string repeated = deflateSome(zeros, Z_FULL_FLUSH);
        std::string ending = deflateSome({}, Z_FINISH);
        deflateEnd(&stream);
        for (int i = 1; i < mebibytes; ++i) body += repeated;
        const uLong crcOfOne =
            crc32(0, reinterpret_cast<const Bytef*>(zeros.data()), static_cast<uInt>(zeros.size()));
        uLong crc = crcOfOne;
        for (int i = 1; i < mebibytes; ++i) crc = crc32_combine(crc, crcOfOne, 1 << 20);
        const unsigned long total = static_cast<unsigned long>(mebibytes) << 20;
        for (size_t i = 0; i < 4; ++i) {
            ending[ending.size() - 8 + i] = static_cast<char>((crc >> (8 * i)) & 0xff);
            ending[ending.size() - 4 + i] = static_cast<char>((total >> (8 * i)) & 0xff);
        }
        return body + ending;
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

TEST_F(HttpClientTest, DeadPortNonWebOrMissingUrlGivesAnErrorAndNoStatus) {
    HttpRequest noUrl;
    noUrl.timeoutSeconds = 5;
    testsupport::RefusingPort dead;
    for (HttpResponse response :
         {fetch(get("http://127.0.0.1:" + std::to_string(dead.port()) + "/hello")),
          fetch(get("file:///etc/hostname")), HttpClient::shared().sendSync(noUrl)}) {
        EXPECT_EQ(response.status, 0);
        EXPECT_NE(response.error, "");
        EXPECT_EQ(response.body, "");
        EXPECT_FALSE(response.ok());
    }
}

TEST_F(HttpClientTest, OnlyWebAddressesWithTheirSchemeWrittenOutAreSent) {
    // curl would take these for hosts to look up ("sms" at port 10086) and guess "http".
    for (const std::string url : {"sms:10086", "ruzar-campus.invalid/no-scheme", "//127.0.0.1/",
                                  "file:///etc/hostname", "ftp://127.0.0.1/"}) {
        HttpResponse response = fetch(get(url));
        EXPECT_EQ(response.status, 0) << url;
        EXPECT_TRUE(response.error.starts_with("unsupported protocol"))
            << url << ": " << response.error;
    }
    EXPECT_EQ(fetch(get("HTTP" + server.url("/hello").substr(4))).status, 200);
}

TEST_F(HttpClientTest, KeptToLoopbackOtherHostsFailBeforeTheyAreLookedUpAndAreReported) {
    std::mutex mutex;
    std::vector<std::string> refused;
    HttpClient::keepToLoopback([&](const std::string& url) {
        std::lock_guard lock(mutex);
        refused.push_back(url);
    });
    const std::vector<std::string> foreign = {"http://share.ruzar-campus.invalid/api",
                                              "https://localhost/", "HTTP://10.1.2.3:80/x"};
    for (const auto& url : foreign) {
        HttpResponse response =
            url.starts_with("HTTP") ? HttpClient::shared().sendSync(get(url)) : fetch(get(url));
        EXPECT_EQ(response.status, 0) << url;
        EXPECT_TRUE(response.error.starts_with("refused")) << url << ": " << response.error;
    }
    // Loopback by number still reaches its server.
    EXPECT_EQ(fetch(get(server.url("/hello"))).status, 200);
    testsupport::RefusingPort dead;
    EXPECT_FALSE(fetch(get("http://[::1]:" + std::to_string(dead.port()) + "/"))
                     .error.starts_with("refused"));
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(refused, foreign);
    }
    testsupport::keepTestsToLoopback();
}

TEST_F(HttpClientTest, RedirectsAreFollowedOnlyToTheWebAndOnlyAFewTimes) {
    HttpResponse response = fetch(get(server.url("/redirect")));
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "hello");
    EXPECT_EQ(response.url, server.url("/hello"));
    EXPECT_EQ(fetch(get(server.url("/hops/4"))).body, "hello");  // five redirects in all

    for (const char* path : {"/hops/5", "/to-file", "/to-ftp"}) {
        for (HttpResponse refused :
             {fetch(get(server.url(path))), HttpClient::shared().sendSync(get(server.url(path)))}) {
            EXPECT_EQ(refused.status, 0) << path;
            EXPECT_NE(refused.error, "") << path;
            EXPECT_EQ(refused.body, "") << path;
        }
    }
}

TEST_F(HttpClientTest, ARedirectNotFollowedComesBackWithTheAddressItPointsTo) {
    auto notFollowing = [](std::string url) {
        return HttpRequest{.url = std::move(url), .followRedirects = false};
    };
    HttpResponse response = fetch(notFollowing(server.url("/redirect")));
    EXPECT_EQ(response.status, 302);
    EXPECT_EQ(response.error, "");
    EXPECT_EQ(response.url, server.url("/redirect"));
    // The relative Location, resolved.
    EXPECT_EQ(response.redirectURL, server.url("/hello"));
    EXPECT_EQ(response.header("location"), "/hello");
    EXPECT_EQ(HttpClient::shared().sendSync(notFollowing(server.url("/hops/3"))).redirectURL,
              server.url("/hops/2"));
    // Addresses the client would never fetch are handed back too, for the caller to judge.
    EXPECT_EQ(fetch(notFollowing(server.url("/to-file"))).redirectURL, "file:///etc/hostname");
    EXPECT_EQ(fetch(notFollowing(server.url("/to-command"))).redirectURL, "campus-cmd://scan");
    EXPECT_EQ(server.paths(), std::vector<std::string>{});

    // A followed redirect, and any other reply, points nowhere.
    EXPECT_EQ(fetch(get(server.url("/redirect"))).redirectURL, "");
    EXPECT_EQ(fetch(notFollowing(server.url("/hello"))).redirectURL, "");
}

TEST_F(HttpClientTest, AConnectionClosedMidBodyIsAFailureNotAShortReply) {
    HttpResponse response = fetch(get(server.url("/cut")));
    EXPECT_EQ(response.status, 0);
    EXPECT_NE(response.error, "");
    EXPECT_EQ(response.body, "");
}

// --- Body size limits ------------------------------------------------------------------------

TEST_F(HttpClientTest, ABodyPastTheRequestsLimitFailsWithAClearErrorEitherWay) {
    server.serve("/thousand", std::string(1000, 'x'), "text/plain");
    HttpRequest request = get(server.url("/thousand"));
    request.maxBodyBytes = 1000;
    EXPECT_EQ(fetch(request).body, std::string(1000, 'x'));

    request.maxBodyBytes = 999;
    for (HttpResponse response : {fetch(request), HttpClient::shared().sendSync(request)}) {
        EXPECT_EQ(response.status, 0);
        EXPECT_EQ(response.error, "the reply is larger than the limit of 999 bytes");
        EXPECT_EQ(response.body, "");
    }
}

TEST_F(HttpClientTest, ACompressedReplyIsCountedAsItInflatesAndStoppedAtTheLimit) {
    // About 1 MB on the wire, 1 GiB decoded: the default limit stops it long before.
    server.serveEncoded("/bomb", gzipBomb(1024), "gzip");
    server.serveEncoded("/small", gzipBomb(1), "gzip");
    EXPECT_EQ(fetch(get(server.url("/small"))).body, std::string(1 << 20, '\0'))
        << "the encoded body is decoded whole";
    HttpResponse response = fetch(get(server.url("/bomb")));
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.error, "the reply is larger than the limit of " +
                                  std::to_string(kMaxDocumentBodyBytes) + " bytes");
    EXPECT_EQ(response.body, "");

    // A smaller limit stops it sooner; the same holds for a synchronous call.
    HttpRequest image = get(server.url("/bomb"));
    image.maxBodyBytes = kMaxImageBodyBytes;
    EXPECT_EQ(
        HttpClient::shared().sendSync(image).error,
        "the reply is larger than the limit of " + std::to_string(kMaxImageBodyBytes) + " bytes");
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
    auto allDone = [&] { return std::count(calls.begin(), calls.end(), 0) == 0; };
    ASSERT_TRUE(RunLoop::main().runUntil(allDone, kBound));
    RunLoop::main().runFor(std::chrono::milliseconds(50));
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(calls[i], 1) << "request " << i;
        EXPECT_EQ(bodies[i], i % 4 == 3 ? "{\"broken\":true}" : "hello") << "request " << i;
    }
}

TEST_F(HttpClientTest, RequestOutlastingItsTimeoutFailsSentEitherWay) {
    // One server holds the reply; the other takes the connection and never reads it.
    nettest::SilentListener silent;
    for (std::string url : {server.url("/slow"), silent.url("/hello")}) {
        HttpRequest request = get(url);
        request.timeoutSeconds = 0.2;
        for (HttpResponse response : {fetch(request), HttpClient::shared().sendSync(request)}) {
            EXPECT_EQ(response.status, 0) << url;
            EXPECT_NE(response.error, "") << url;
            EXPECT_FALSE(response.ok()) << url;
        }
    }
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
    // Let the server answer: the dropped request must not complete a second time, and
    // cancelling it again or cancelling an unknown one changes nothing.
    server.release();
    HttpClient::shared().cancel(id);
    HttpClient::shared().cancel(987654321);
    RunLoop::main().runFor(std::chrono::milliseconds(100));
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
    HttpRequest request = post(server.url("/upload"));
    request.parts = {
        {"account", "", "", "张三"},
        {"photo", "照片.jpg", "image/jpeg", binaryBytes(5000)},
        {"note", "n.txt", "text/plain", "line one\r\nline two"},
        {"a-last-field", "", "", ""},
    };
    ASSERT_TRUE(fetch(request).ok());
    auto parts = server.last().parts;
    ASSERT_EQ(parts.size(), request.parts.size());
    for (size_t i = 0; i < parts.size(); ++i) {
        EXPECT_EQ(parts[i].name, request.parts[i].name) << i;
        EXPECT_EQ(parts[i].filename, request.parts[i].filename) << i;
        EXPECT_EQ(parts[i].content_type, request.parts[i].contentType) << i;
        EXPECT_EQ(parts[i].content, request.parts[i].data) << i;
    }
    EXPECT_FALSE(server.last().hasHeader("Expect"));
}

TEST_F(HttpClientTest, IgnoringTheCacheAsksForAFreshReplyAndValuesCannotInjectHeaders) {
    HttpRequest request = get(server.url("/hello"));
    request.ignoreCache = true;
    request.headers.emplace_back("X-Name", "a\r\nX-Injected: yes");
    ASSERT_TRUE(fetch(request).ok());
    EXPECT_EQ(server.last().header("Cache-Control"), "no-cache");
    EXPECT_EQ(server.last().header("Pragma"), "no-cache");
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
    HttpClient::shared().send(request, [&](HttpResponse) { done = true; });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return done; }, kBound));
    ASSERT_FALSE(progress.empty());
    EXPECT_FALSE(offMainThread);
    EXPECT_FALSE(progressAfterCompletion);
    for (size_t i = 1; i < progress.size(); ++i)
        EXPECT_LT(progress[i - 1].first, progress[i].first);
    EXPECT_EQ(progress.back(), std::make_pair(total, total));

    // A synchronous upload on the main thread reports its progress during the call.
    progress.clear();
    ASSERT_TRUE(HttpClient::shared().sendSync(request).ok());
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back().first, total);
}

TEST_F(HttpClientTest, SendSyncReturnsTheReplyOnTheMainThreadAndFromABackgroundThread) {
    HttpResponse onMain = HttpClient::shared().sendSync(get(server.url("/hello")));
    EXPECT_TRUE(onMain.ok());
    EXPECT_EQ(onMain.body, "hello");
    HttpResponse response;
    std::thread worker([&] { response = HttpClient::shared().sendSync(get(server.url("/fail"))); });
    worker.join();
    EXPECT_EQ(response.status, 500);
    EXPECT_EQ(response.body, "{\"broken\":true}");
}

}  // namespace
