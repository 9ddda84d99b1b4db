#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/RunLoop.h"
#include "platform/webkit/EngineLoader.h"

// A page that takes more memory than a web process may have is ended, and its host told why,
// before its process has gone far past the limit.

namespace {

using namespace platform::webkit;

constexpr long kLimitMB = 256;

// Before the engine loads (when this binary starts): a limit a page can pass quickly.
const bool kLimitSet = [] {
    setenv("CAMPUS_WEB_MEMORY_MB", std::to_string(kLimitMB).c_str(), 1);
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

// The most memory of its own (resident, not of files: RssAnon) that any web process of this
// one's has held while it watched: it looks at the ones it knows every 2 ms, and for new ones
// every 20 ms. A process's last moments may be missed, never counted twice.
class WebProcessMemory {
public:
    WebProcessMemory() : m_thread([this] { run(); }) {}
    ~WebProcessMemory() {
        m_stop = true;
        m_thread.join();
    }
    long peakMB() const { return m_peakKb / 1024; }

private:
    // The name and parent of a process, from /proc/<pid>/stat.
    static bool readStat(const std::string& pid, std::string& name, pid_t& parent) {
        std::ifstream file("/proc/" + pid + "/stat");
        std::string line;
        if (!std::getline(file, line))
            return false;
        const auto open = line.find('(');
        const auto close = line.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close + 4 > line.size())
            return false;
        name = line.substr(open + 1, close - open - 1);
        parent = pid_t(std::atol(line.c_str() + close + 4));
        return true;
    }

    void findProcesses() {
        std::map<pid_t, pid_t> parents;
        std::set<pid_t> web;
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            const std::string pid = entry.path().filename().string();
            if (pid.find_first_not_of("0123456789") != std::string::npos)
                continue;
            std::string name;
            pid_t parent = 0;
            if (!readStat(pid, name, parent))
                continue;
            parents[pid_t(std::atol(pid.c_str()))] = parent;
            if (name == "WebKitWebProces")
                web.insert(pid_t(std::atol(pid.c_str())));
        }
        m_watched.clear();
        for (pid_t pid : web) {
            for (pid_t at = pid; at > 1 && parents.count(at); at = parents[at]) {
                if (parents[at] == getpid()) {
                    m_watched.insert(pid);
                    break;
                }
            }
        }
    }

    void run() {
        for (int look = 0; !m_stop; ++look) {
            if (look % 10 == 0)
                findProcesses();
            for (pid_t pid : m_watched) {
                std::ifstream status("/proc/" + std::to_string(pid) + "/status");
                std::string line;
                while (std::getline(status, line)) {
                    if (line.rfind("RssAnon:", 0) == 0)
                        m_peakKb = std::max(m_peakKb.load(), std::atol(line.c_str() + 8));
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    std::atomic<bool> m_stop{false};
    std::atomic<long> m_peakKb{0};
    std::set<pid_t> m_watched;
    std::thread m_thread;
};

class MemoryLimitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kLimitSet);
        ASSERT_NE(engine(), nullptr) << loadError();
        server.start();
    }

    // Shows the page and waits for its process to end; its memory is watched meanwhile.
    void showUntilEnded(const std::string& script) {
        fakes::Reply page;
        page.contentType = "text/html; charset=utf-8";
        page.body = "<html><body><script>" + script + "</script></body></html>";
        server.setReply("GET", "/hungry.html", page);
        client = std::make_shared<EndsClient>();
        view = engine()->makeView(client, {});
        client->view = view.get();
        WebProcessMemory memory;
        view->load({server.baseUrl() + "/hungry.html"});
        ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return !client->ends.empty(); },
                                                       std::chrono::seconds(60)));
        peakMB = memory.peakMB();
    }

    fakes::FakeSchoolServices server;
    std::shared_ptr<EndsClient> client;
    std::unique_ptr<EngineView> view;
    long peakMB = 0;
};

TEST_F(MemoryLimitTest, APageThatKeepsAllocatingHasItsProcessEndedNearTheLimit) {
    // Grows as fast as it can, 64 MB at a time, a timer's turn apart, without end.
    showUntilEnded(
        "var kept = []; (function eat() { for (var i = 0; i < 16; i++)"
        " kept.push(new Uint8Array(4 << 20).fill(7)); setTimeout(eat, 0); })();");
    EXPECT_EQ(client->ends[0], ProcessEnd::MemoryLimit);
    // WebKit's own limit alone let such a page reach several times the limit.
    EXPECT_LT(peakMB, 2 * kLimitMB);
}

TEST_F(MemoryLimitTest, APageThatAllocatesWithoutYieldingIsEndedNearTheLimit) {
    // Takes 1 GB in one turn of its script, then never yields: its process can say nothing to
    // the view, and is ended where it stands.
    showUntilEnded(
        "var kept = []; for (var i = 0; i < 256; i++) kept.push(new Uint8Array(4 << 20).fill(7));"
        "for (;;) {}");
    EXPECT_LT(peakMB, 2 * kLimitMB);
    // Ended in its process, which the view sees as a crash (or by WebKit's own limit).
    EXPECT_TRUE(client->ends[0] == ProcessEnd::Crashed ||
                client->ends[0] == ProcessEnd::MemoryLimit);
}

}  // namespace
