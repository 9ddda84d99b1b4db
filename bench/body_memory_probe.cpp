// Peak memory of one large JSON reply received, decoded and filled into records the way a list
// screen does it (NetTool GET -> HttpClient -> decode -> News records). The server runs in a
// forked child so that only the client's memory is counted. Prints the body size, the peak
// resident memory before the request and at the end, and their difference.
//   body_memory_probe [MEGABYTES]   (default 50)
#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/ForkedServer.h"
#include "client/NetTool.h"
#include "client/News.h"
#include "platform/foundation/RunLoop.h"

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

// Serves the body; a content provider of known length is sent uncompressed, as a server that
// does not compress would.
void serve(size_t bytes, const bench::ForkedServer::Announce& announce) {
    const std::string body = newsBody(bytes);
    httplib::Server server;
    server.Get("/News", [&body](const httplib::Request&, httplib::Response& res) {
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
    bench::ForkedServer server([megabytes](const bench::ForkedServer::Announce& announce) {
        serve(megabytes * 1000 * 1000, announce);
    });
    if (server.port() == 0)
        return 1;

    platform::RunLoop::main().bindToCurrentThread();
    long before = bench::peakResidentKb();
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
    long after = bench::peakResidentKb();

    std::printf("body        %zu MB\n", megabytes);
    std::printf("rows        %zu%s%s\n", rows,
                failure.empty() ? "" : "  failed: ", failure.c_str());
    std::printf("peak before %.1f MB\n", before / 1024.0);
    std::printf("peak after  %.1f MB\n", after / 1024.0);
    std::printf("peak added  %.1f MB\n", (after - before) / 1024.0);
    return failure.empty() && done ? 0 : 1;
}
