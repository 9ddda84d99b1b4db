// Peak memory of one large JSON reply received, decoded and filled into records the way a list
// screen does it (NetTool GET -> HttpClient -> decode -> News records). The server runs in a
// forked child so that only the client's memory is counted. Prints the body size, the peak
// resident memory before the request and at the end, and their difference.
//   body_memory_probe [MEGABYTES]   (default 50)
#include <httplib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "client/NetTool.h"
#include "client/News.h"
#include "platform/foundation/RunLoop.h"

namespace {

// Peak resident set of this process so far, in kB (VmHWM).
long peakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

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

// Serves the body from a forked child; writes the port to `portOut`. A content provider of
// known length is sent uncompressed, as a server that does not compress would.
[[noreturn]] void serve(size_t bytes, int portOut) {
    const std::string body = newsBody(bytes);
    httplib::Server server;
    server.Get("/News", [&body](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(body.size(), "application/json",
                                 [&body](size_t offset, size_t length, httplib::DataSink& sink) {
                                     return sink.write(body.data() + offset, length);
                                 });
    });
    int port = server.bind_to_any_port("127.0.0.1");
    if (write(portOut, &port, sizeof port) != sizeof port)
        _exit(1);
    close(portOut);
    server.listen_after_bind();
    _exit(0);
}

}  // namespace

int main(int argc, char** argv) {
    size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 50;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return 1;
    pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        serve(megabytes * 1000 * 1000, pipeFds[1]);
    }
    close(pipeFds[1]);
    int port = 0;
    if (read(pipeFds[0], &port, sizeof port) != sizeof port)
        return 1;

    platform::RunLoop::main().bindToCurrentThread();
    long before = peakResidentKb();
    size_t rows = 0;
    std::string failure;
    bool done = false;
    NetTool::shareInstance().getWithURL(
        "http://127.0.0.1:" + std::to_string(port) + "/News",
        [&](const platform::Json& reply) {
            rows = recordsFromList<News>(reply, "News").size();
            done = true;
        },
        [&](const NetError& error) {
            failure = error.message;
            done = true;
        });
    platform::RunLoop::main().runUntil([&] { return done; }, std::chrono::seconds(120));
    long after = peakResidentKb();
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);

    std::printf("body        %zu MB\n", megabytes);
    std::printf("rows        %zu%s%s\n", rows,
                failure.empty() ? "" : "  failed: ", failure.c_str());
    std::printf("peak before %.1f MB\n", before / 1024.0);
    std::printf("peak after  %.1f MB\n", after / 1024.0);
    std::printf("peak added  %.1f MB\n", (after - before) / 1024.0);
    return failure.empty() && done ? 0 : 1;
}
