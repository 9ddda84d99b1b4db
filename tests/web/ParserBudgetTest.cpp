#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "fakes/FakeSchoolServices.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/net/HttpClient.h"
#include "platform/web/HtmlCutNotice.h"
#include "platform/web/HtmlEngineBudget.h"
#include "platform/web/HtmlLayout.h"
#include "platform/web/WebPage.h"

using namespace platform;
using namespace std::chrono_literals;

namespace {

constexpr std::size_t kMB = std::size_t(1) << 20;

// Keeps the compiler from taking an allocation and its release out as unused.
void keep(void* block) {
    asm volatile("" : : "g"(block) : "memory");
}

// --- The budget's count of memory --------------------------------------------------------------

TEST(EngineMemoryCountTest, AMegabyteAllocatedAndFreedAHundredTimesPeaksNearAMegabyte) {
    HtmlEngineBudget::setLimits({std::chrono::hours(1), 4 * kMB});
    HtmlEngineBudget budget;
    HtmlEngineBudget::setLimits({});
    {
        HtmlEngineBudget::Run run(budget);
        for (int round = 0; round < 100; ++round) {
            char* array = new char[kMB];
            keep(array);
            delete[] array;
            void* sized = ::operator new(kMB);
            keep(sized);
            ::operator delete(sized, kMB);
            // A megabyte in small blocks, each of which malloc makes larger than asked.
            void* chain = nullptr;
            for (std::size_t held = 0; held < kMB; held += 24) {
                void* block = ::operator new(20);
                *static_cast<void**>(block) = chain;
                chain = block;
            }
            while (chain) {
                void* next = *static_cast<void**>(chain);
                ::operator delete(chain);
                chain = next;
            }
        }
    }
    EXPECT_FALSE(budget.spent());
    EXPECT_GE(budget.peakBytes(), kMB);
    EXPECT_LT(budget.peakBytes(), 2 * kMB + kMB / 2);

    // What it holds now is what it counts: five megabytes are past its four.
    HtmlEngineBudget::Run run(budget);
    EXPECT_THROW(
        {
            char* five = new char[5 * kMB];
            keep(five);
            delete[] five;
        },
        HtmlBudgetSpent);
}

// --- Markup past what the parser may be given ---------------------------------------------------

// The blowup: a paragraph, 240 formatting elements each unlike the others, then 50,000
// paragraphs of one letter (some 200 KB), which the parser would fill with all 240 each.
std::string blowup() {
    std::string html = "<p>first words";
    for (int i = 0; i < 240; ++i) {
        html += "<b class=c" + std::to_string(i) + ">";
    }
    for (int i = 0; i < 50000; ++i) {
        html += "<p>x";
    }
    return html;
}

// The same, made by a script of a hundred bytes and set as an element's content.
constexpr const char* kBlowupScript =
    "var s='<p>first words';for(var i=0;i<240;i++)s+='<b class=c'+i+'>';"
    "s+='<p>x'.repeat(5e4);var t=document.getElementById('t');";

TEST(ParserBudgetTest, MarkupAScriptSetsPastTheParsersBoundFailsAndLeavesTheElementAsItWas) {
    WebPage page("<p>before</p><div id=t><i>kept</i></div>", "http://pages.campus.invalid/a.html",
                 "", [](const std::string&) {});
    const std::string outcome = page.evaluate(
        std::string(kBlowupScript) + "try{t.innerHTML=s;'set'}catch(e){e.name+': '+t.innerHTML}");
    EXPECT_EQ(outcome, "RangeError: <i>kept</i>");
    // An ordinary change still goes in.
    EXPECT_EQ(page.evaluate("t.innerHTML='<b>new</b>';t.innerHTML"), "<b>new</b>");
}

TEST(ParserBudgetTest, APageCutWhereTheParserWouldMakeTooMuchAgainSaysSoAtItsEnd) {
    WebPage page(blowup(), "http://pages.campus.invalid/blowup.html", "",
                 [](const std::string&) {});
    std::vector<WebPage::Item> shown;
    const std::string html = page.layoutHTML(&shown);
    ASSERT_FALSE(shown.empty());
    EXPECT_NE(shown.front().text.find("first words"), std::string::npos);
    // The last thing the page shows, and the last thing laid out, is the line in the client's
    // words: the page read as far as it was must not look whole.
    EXPECT_EQ(shown.back().text, web::kCutNotice);
    const std::size_t notice = html.rfind(web::kCutNotice);
    ASSERT_NE(notice, std::string::npos);
    EXPECT_EQ(html.find("<p", notice), std::string::npos);

    // A page read whole says nothing of the kind.
    WebPage whole("<p>first words</p><p>last words</p>", "http://pages.campus.invalid/a.html", "",
                  [](const std::string&) {});
    EXPECT_EQ(whole.layoutHTML().find(web::kCutNotice), std::string::npos);
}

// --- What a parse costs, each in a child of its own ---------------------------------------------

struct Cost {
    bool finished = false;
    double cpuSeconds = 0;
    // What the child's resident memory grew to past what it held at the start.
    double peakMB = 0;
};

long statusKB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(std::string_view(field).size()));
        }
    }
    return -1;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasured = false;  // its shadow and quarantine are the child's too
constexpr double kSlowdown = 4;          // as the engine's budget counts it
#else
constexpr bool kMemoryMeasured = true;
constexpr double kSlowdown = 1;
#endif

// The web view's work for a page, up to its first screen painted: read, laid out, drawn.
void show(WebPage& page) {
    HtmlLayout layout(page.layoutHTML(), std::make_shared<HtmlPictures>(nullptr),
                      page.takeReadingTime());
    layout.layOut(375, 667);
    BitmapContext context(Size{375, 667}, 2);
    layout.paint(context, Rect{{0, 0}, Size{375, 667}});
}

// Runs `work` in a forked child, held to 20 s of CPU and 1 GB of address space past what it
// starts with: a parse that would run for seconds or take gigabytes ends the child, which
// counts as not finished.
Cost costInChild(const std::function<void()>& work) {
    // Fonts and the engine's style sheet are loaded once, before the child shares them, as
    // in a client that has shown a page before.
    static const bool warm = [] {
        WebPage page("<p>warm</p>", "http://127.0.0.1/warm.html", "", [](const std::string&) {});
        show(page);
        return true;
    }();
    (void)warm;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return {};
    }
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        const rlimit cpu{20, 20};
        setrlimit(RLIMIT_CPU, &cpu);
        if (kMemoryMeasured) {
            const rlim_t space = (rlim_t(statusKB("VmSize:")) << 10) + (rlim_t(1) << 30);
            const rlimit memory{space, space};
            setrlimit(RLIMIT_AS, &memory);
        }
        // The peak starts again from what the child holds now, the memory the parent freed
        // given back first: a run that reused it would not be seen to grow.
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = statusKB("VmRSS:");
        rusage start{};
        getrusage(RUSAGE_SELF, &start);
        work();
        rusage end{};
        getrusage(RUSAGE_SELF, &end);
        auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
        const double result[2] = {seconds(end.ru_utime) + seconds(end.ru_stime) -
                                      seconds(start.ru_utime) - seconds(start.ru_stime),
                                  double(statusKB("VmHWM:") - before) / 1024.0};
        const bool written = write(pipeEnds[1], result, sizeof result) == sizeof result;
        _exit(written ? 0 : 1);
    }
    close(pipeEnds[1]);
    Cost cost;
    double result[2] = {0, 0};
    const bool read = child > 0 && ::read(pipeEnds[0], result, sizeof result) == sizeof result;
    close(pipeEnds[0]);
    int status = 0;
    if (child > 0) {
        waitpid(child, &status, 0);
    }
    cost.finished = read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    cost.cpuSeconds = result[0];
    cost.peakMB = result[1];
    return cost;
}

bool showsText(const WebPage& page, std::string_view text) {
    for (const auto& item : page.items()) {
        if (item.text.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The page as the web view reads it from a school's server on 127.0.0.1.
std::string served(const std::string& html) {
    fakes::FakeSchoolServices server;
    server.start();
    server.setReply("GET", "/pages/blowup.html",
                    fakes::Reply{200, "text/html;charset=UTF-8", html});
    HttpRequest request;
    request.url = server.baseUrl() + "/pages/blowup.html";
    return HttpClient::shared().sendSync(request).body;
}

void expectWithinGoals(const Cost& cost, double peakMB, const char* what) {
    ASSERT_TRUE(cost.finished) << what << ": the child ran out of its limits";
    // A second of CPU is the goal; the bounded parse takes a few hundredths.
    EXPECT_LT(cost.cpuSeconds, kSlowdown) << what;
    if (kMemoryMeasured) {
        EXPECT_LT(cost.peakMB, peakMB) << what;
    }
}

TEST(ParserCostTest, TheBlowupReadOrSetByAScriptIsHeldWellWithinTheBudget) {
    const std::string html = served(blowup());
    ASSERT_EQ(html.size(), blowup().size());

    // Unbounded, the parse takes some 8 s and 4.5 GB. Bounded, it costs a few MB: half the
    // goal of 128 MB leaves room for any machine, and a parse held only by the engine's memory
    // bound, which is that goal, would not fit.
    const Cost read = costInChild([&] {
        WebPage page(html, "http://127.0.0.1/pages/blowup.html", "", [](const std::string&) {});
        show(page);
        if (!showsText(page, "first words")) {
            _exit(2);
        }
    });
    expectWithinGoals(read, 64, "read");

    const Cost set = costInChild([] {
        WebPage page("<p>before</p><div id=t></div>", "http://127.0.0.1/pages/set.html", "",
                     [](const std::string&) {});
        show(page);
        page.evaluate(std::string(kBlowupScript) + "try{t.innerHTML=s}catch(e){}");
        show(page);
        if (!showsText(page, "before")) {
            _exit(2);
        }
    });
    expectWithinGoals(set, 64, "set by a script");
}

TEST(ParserCostTest, AParseThatNeedsMoreThanTheEnginesMemoryIsAbandonedAndThePageShownAsText) {
    // A hundred thousand elements of the page's own, within every bound on the markup: the
    // parser's tree of them alone takes some 30 MB.
    std::string html = "<p>first words</p>";
    for (int i = 0; i < 100000; ++i) {
        html += "<span class=k" + std::to_string(i) + ">x</span>";
    }
    const Cost cost = costInChild([&] {
        HtmlEngineBudget::setLimits({500ms, 8 * kMB});
        WebPage page(html, "http://127.0.0.1/pages/many.html", "", [](const std::string&) {});
        show(page);
        if (!showsText(page, "first words")) {
            _exit(2);
        }
    });
    // The parse is given up at 8 MB, and the page's text alone, laid out or shown as plain
    // text in turn, costs little more; the parse held by nothing takes some 130 MB.
    expectWithinGoals(cost, 48, "past the engine's memory");
}

}  // namespace
