// CPU time a hostile school page costs while it sits in the web container: each `callback` the
// client runs sets location.href to "getStorage" again and then spins until its process is
// ended, and the client answers every command with the next callback. With WebKit the page's
// spinning is its web process's: that process is ended once it stops answering, and the
// container shows its fail view. Counted: the client's own process (its main thread, the
// engine's GTK thread, its pool) and each process it started (the web and network processes,
// the display), read from /proc while they live. The page comes from a forked child, which is
// left out.
//   bridge_loop_probe [SECONDS]   (default 10)
// Target: the client's own process under 3 s of CPU in 10 s, and the page's process ended.
#include <httplib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "bench/CpuTime.h"
#include "bench/ForkedServer.h"
#include "client/ServiceConfig.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "platform/web/WebError.h"
#include "webcontainer/WebDetailViewController.h"

namespace {

using namespace platform;

constexpr const char* kLoopingPage =
    "<title>loop</title><script>"
    "var replies = 0;"
    "function ask() { location.href = 'lanxi-bridge://getStorage=' +"
    "  encodeURIComponent(JSON.stringify({key: 'k'})); }"
    "function callback(reply) { replies++; document.title = 'replies ' + replies; ask();"
    "  for (;;) {} }"
    "ask();"
    "</script>";

void serve(const bench::ForkedServer::Announce& announce) {
    httplib::Server server;
    server.Get("/loop.html", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(kLoopingPage, "text/html;charset=UTF-8");
    });
    announce(server.bind_to_any_port("127.0.0.1"), 0);
    server.listen_after_bind();
}

struct ProcessStat {
    pid_t parent = 0;
    std::string name;
    double cpuSeconds = 0;
};

// /proc/<pid>/stat: the name sits in parentheses and may hold spaces; the fields after it are
// state, parent, ..., user time (14th field) and system time (15th), in clock ticks.
bool readStat(pid_t pid, ProcessStat& stat) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line))
        return false;
    const auto open = line.find('(');
    const auto close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return false;
    stat.name = line.substr(open + 1, close - open - 1);
    std::istringstream rest(line.substr(close + 2));
    std::string state;
    long long skip = 0;
    unsigned long long user = 0;
    unsigned long long system = 0;
    rest >> state >> stat.parent;
    for (int field = 5; field <= 13; ++field) rest >> skip;
    rest >> user >> system;
    if (!rest)
        return false;
    stat.cpuSeconds = double(user + system) / double(sysconf(_SC_CLK_TCK));
    return true;
}

// The CPU of every process this one started, directly or through its children, as last seen:
// a process that ended keeps what it had used at the last look.
class DescendantsCpu {
public:
    void look() {
        std::map<pid_t, ProcessStat> all;
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            const std::string name = entry.path().filename().string();
            if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
                continue;
            ProcessStat stat;
            if (readStat(pid_t(std::stoi(name)), stat))
                all[pid_t(std::stoi(name))] = stat;
        }
        const pid_t self = getpid();
        const std::string selfName = all.count(self) ? all[self].name : "";
        for (const auto& [pid, stat] : all) {
            if (pid == self || stat.name == selfName)
                continue;  // this process, and the page's server forked from it
            for (pid_t up = stat.parent; up > 1 && all.count(up); up = all[up].parent) {
                if (up == self) {
                    m_seen[pid] = stat;
                    break;
                }
            }
        }
    }

    // Seconds of CPU by process name.
    std::map<std::string, double> byName() const {
        std::map<std::string, double> names;
        for (const auto& [pid, stat] : m_seen) names[stat.name] += stat.cpuSeconds;
        return names;
    }

private:
    std::map<pid_t, ProcessStat> m_seen;
};

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    bench::ForkedServer server(serve);
    if (server.port() == 0) {
        return 1;
    }
    int replies = 0;
    setLogSink([&](const std::string& line) {
        replies += line.find("callback(") != std::string::npos ? 1 : 0;
    });
    // The page is the school's: the bridge answers only the school's pages.
    ServiceConfig::shared().pointAllAt(server.base());
    {
        testing::UiTestScope scope(Size{375, 667}, false);
        auto window = View::make<Window>();
        auto page = std::make_shared<WebDetailViewController>();
        page->setTitleStr("loop");
        page->setUrlStr(server.base() + "/loop.html");
        window->setRootViewController(std::make_shared<NavigationController>(page));
        window->makeKeyAndVisible();

        DescendantsCpu children;
        const double before = bench::cpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const auto end = start + std::chrono::seconds(seconds);
        double endedAfter = -1;
        // Looked at every tenth of a second, so that a process ended meanwhile is counted up
        // to its last tenth.
        while (std::chrono::steady_clock::now() < end) {
            RunLoop::main().runFor(std::chrono::milliseconds(100));
            children.look();
            const auto& web = page->webView();
            if (endedAfter < 0 && web && web->lastError() &&
                web->lastError()->code == WebError::kWebProcessEnded) {
                endedAfter =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            }
        }
        const double used = bench::cpuSeconds() - before;
        double childTotal = 0;
        std::printf("after %2d s   replies sent %d\n", seconds, replies);
        std::printf("client       CPU %.2f s\n", used);
        for (const auto& [name, cpu] : children.byName()) {
            std::printf("  %-18s CPU %.2f s\n", name.c_str(), cpu);
            childTotal += cpu;
        }
        std::printf("children     CPU %.2f s (all their life)\n", childTotal);
        if (endedAfter >= 0)
            std::printf("page ended   after %.1f s, fail view %s\n", endedAfter,
                        page->isFailViewShowing() ? "shown" : "not shown");
        else
            std::printf("page ended   no\n");
        const auto& web = page->webView();
        std::printf("page         %s\n", web ? web->pageTitle().c_str() : "(none)");
    }
    setLogSink(nullptr);
    server.stop();
    return 0;
}
