// Peak memory of one large JSON reply received, decoded and filled into records the way a list
// screen does it (NetTool GET -> HttpClient -> decode -> News records). The server runs in a
// forked child so that only the client's memory is counted. Prints the body size, the peak
// resident memory before the request and at the end, their difference, and the longest the
// main thread was busy at a stretch.
//   body_memory_probe [MEGABYTES] [KIND]   (default 50 news)
// KIND: news (news items, sent as they are) or empty (a list of empty objects "{}", sent
// gzip-encoded: 60 MB of them are 58 KB on the wire).
#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/ForkedServer.h"
#include "bench/MainThreadWatch.h"
#include "client/NetTool.h"
#include "client/News.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/BombPicture.h"

namespace {

std::string newsBody(size_t atLeast) {
    std::string body = "{\"News\":[";
    for (size_t i = 0; body.size() < atLeast; ++i) {
        if (i > 0)
            body += ',';
        std::string n = std::to_string(i);
        body += "{\"id\":" + n + ",\"imgUrl\":\"/upload/news/" + n +
                ".jpg\",\"xwbt\":\"我校举办第" + n +
                "届学术交流会\",\"fbsj\":\"2026-11-30 09:00\",\"xwnr\":\"<p>正文内容</p>\"}";
    }
    return body + "]}";
}

std::string emptyObjectsBody(size_t atLeast) {
    std::string body = "{\"News\":[{}";
    body.reserve(atLeast + 16);
    while (body.size() < atLeast) body += ",{}";
    return body + "]}";
}

// Serves the body; a content provider of known length is sent as it is, as a server that does
// not compress would, or gzip-encoded ahead of time.
void serve(size_t bytes, bool empty, const bench::ForkedServer::Announce& announce) {
    const bool encoded = empty;
    const std::string body =
        empty ? testsupport::gzipped(emptyObjectsBody(bytes)) : newsBody(bytes);
    httplib::Server server;
    server.Get("/News", [&body, encoded](const httplib::Request&, httplib::Response& res) {
        if (encoded)
            res.set_header("Content-Encoding", "gzip");
        res.set_content_provider(body.size(), "application/json",
                                 [&body](size_t offset, size_t length, httplib::DataSink& sink) {
                                     return sink.write(body.data() + offset, length);
                                 });
    });
    announce(server.bind_to_any_port("127.0.0.1"), 0);
    server.listen_after_bind();
}

}  // namespace

int main(int argc, char** argv) {
    size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 50;
    const std::string kind = argc > 2 ? argv[2] : "news";
    if (kind != "news" && kind != "empty") {
        std::fprintf(stderr, "unknown kind of body: %s\n", kind.c_str());
        return 2;
    }
    bench::ForkedServer server([megabytes, kind](const bench::ForkedServer::Announce& announce) {
        serve(megabytes * 1000 * 1000, kind == "empty", announce);
    });
    if (server.port() == 0)
        return 1;

    platform::RunLoop::main().bindToCurrentThread();
    long before = bench::peakResidentKb();
    bench::MainThreadWatch watch;
    size_t rows = 0;
    std::string failure;
    bool done = false;
    NetTool::shareInstance().getWithURL(
        server.base() + "/News",
        [&](const platform::Json& reply) {
            rows = recordsFromList<News>(reply, "News").size();
            done = true;
        },
        [&](const NetError& error) {
            failure = error.message;
            done = true;
        });
    platform::RunLoop::main().runUntil([&] { return done; }, std::chrono::seconds(120));
    watch.stop();
    long after = bench::peakResidentKb();

    std::printf("body        %zu MB of %s\n", megabytes, kind.c_str());
    std::printf("rows        %zu%s%s\n", rows,
                failure.empty() ? "" : "  failed: ", failure.c_str());
    std::printf("peak before %.1f MB\n", before / 1024.0);
    std::printf("peak after  %.1f MB\n", after / 1024.0);
    std::printf("peak added  %.1f MB\n", (after - before) / 1024.0);
    std::printf("main thread busy at most %.2f s\n", watch.longestBusySeconds());
    return done ? 0 : 1;
}
