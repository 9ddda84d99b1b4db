// CPU time and peak memory of laying out and painting each page made to crash or stall the
// layout (tests/support/LayoutBombs.h, and the pages below that outran its bounds on the
// engine's paths one by one), and of all of them in one page, on the phone (375x667)
// and the tablet (768x1024): the page's layout document made as the web view makes it, laid
// out, its one picture (a dot tiled over a huge box) arriving and the page laid out again, and
// the first screen painted at 2x. Each case runs in a forked child of its own, so that one
// case's memory never counts in another's, held to a CPU and an address-space limit so that a
// page that would run for minutes or ask for gigabytes ends the child and is reported as such.
//   layout_bomb_probe [CASE ... | FILE.html ...] [--cpu-limit SECONDS] [--memory-limit MEGABYTES]
//                     [--unbudgeted | --engine-budget MILLISECONDS MEGABYTES]
// (a FILE.html is a page of one's own, measured like the cases; --unbudgeted lifts the
// engine's budget, HtmlEngineBudget, to see what a page would cost without it, and
// --engine-budget sets other bounds for it)
// Prints one line a case and device: CPU seconds, peak resident MB, and how it ended.
// Goal: every case within 1 s of CPU and under 500 MB.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/web/HtmlEngineBudget.h"
#include "platform/web/HtmlLayout.h"
#include "platform/web/WebPage.h"
#include "tests/support/LayoutBombs.h"

namespace {

using namespace platform;

struct Device {
    const char* name;
    Size size;
};

// `count` copies of `text`.
std::string repeated(const std::string& text, int count) {
    std::string all;
    all.reserve(text.size() * std::size_t(count));
    for (int i = 0; i < count; ++i) {
        all += text;
    }
    return all;
}

// `count` elements `<tag class="kN">x</tag>`, N counting up.
std::string classedElements(const std::string& tag, int count) {
    std::string all;
    for (int i = 0; i < count; ++i) {
        all += "<" + tag + " class=\"k" + std::to_string(i) + "\">x</" + tag + ">";
    }
    return all;
}

// A page measured: made just before its case runs, so that no other case's page is held in
// the measured child's memory.
struct Case {
    std::string name;
    std::function<std::string()> make;
};

// Pages whose cost grows faster than the page along a path of the engine no bound of the
// layout's names: only the budget around the engine holds them.
std::vector<Case> enginePathBombs() {
    std::vector<Case> bombs;
    bombs.push_back({"media-10000", [] {
                         return "<style>" + repeated("@media all{", 10000) + "p{color:red}" +
                                repeated("}", 10000) + "</style><p>shown</p>";
                     }});
    bombs.push_back({"not-20000", [] {
                         return "<style>" + repeated("p:not(", 20000) + "i" + repeated(")", 20000) +
                                "{color:red}</style><p>shown</p>";
                     }});
    bombs.push_back({"selectors-50000", [] {
                         std::string selectors;
                         for (int i = 0; i < 50000; ++i) {
                             selectors += (i ? ",b.k" : "b.k") + std::to_string(i * 7 + 3);
                         }
                         return "<style>" + selectors + "{color:red}</style><p>shown</p>" +
                                classedElements("b", 20000);
                     }});
    bombs.push_back({"rules-5000", [] {
                         std::string rules;
                         for (int i = 0; i < 5000; ++i) {
                             rules += "b.k" + std::to_string(i * 11 + 5) + "{color:red}";
                         }
                         return "<style>" + rules + "</style><p>shown</p>" +
                                classedElements("b", 50000);
                     }});
    bombs.push_back({"nots-100x1000", [] {
                         const std::string rule = "b" + repeated(":not(i)", 1000) + "{color:red}";
                         return "<style>" + repeated(rule, 100) + "</style><p>shown</p>" +
                                classedElements("b", 20000);
                     }});
    bombs.push_back({"nth-60000", [] {
                         return "<style>b:nth-child(2n+1){color:red}"
                                "b:nth-last-child(3n){color:blue}b:nth-of-type(5){color:green}"
                                "b:nth-last-of-type(2n){color:gray}b:first-of-type{color:red}"
                                "b:last-of-type{color:red}b:only-of-type{color:red}</style>"
                                "<p>shown</p><div>" +
                                repeated("<b>x</b>", 60000) + "</div>";
                     }});
    bombs.push_back({"floats-20000", [] {
                         return "<p>shown</p><div>" +
                                repeated("<span style=\"float:left\">x</span>", 20000) + "</div>";
                     }});
    // Deeper than the bounds before the engine let through, and what those bounds stop cheaply.
    bombs.push_back({"media-20000", [] {
                         return "<style>" + repeated("@media all{", 20000) + "p{color:red}" +
                                repeated("}", 20000) + "</style><p>shown</p>";
                     }});
    bombs.push_back({"not-40000", [] {
                         return "<style>" + repeated("p:not(", 40000) + "b" + repeated(")", 40000) +
                                "{color:red}</style><p>shown</p>";
                     }});
    // Each '}' that closes nothing has the engine read the rest of the sheet again.
    bombs.push_back({"stray-braces-50000", [] {
                         return "<style>" + repeated("a}", 50000) +
                                "p{color:red}</style><p>shown</p>";
                     }});
    bombs.push_back({"floats-apart-20000", [] {
                         return repeated("<div><span style=\"float:left\">x</span></div>", 20000) +
                                "<p>shown</p>";
                     }});
    return bombs;
}

std::string enginePathMix() {
    std::string mix;
    for (const auto& bomb : enginePathBombs()) {
        mix += "<div>" + bomb.make() + "</div>";
    }
    return mix;
}

// The parser's blowup: a paragraph, 240 formatting elements each unlike the others, then
// 50,000 paragraphs of one letter (some 200 KB), which the parser would fill with all 240 each;
// read as a page, and made by a page's script of a hundred bytes and set through innerHTML.
std::vector<Case> parserPages() {
    std::vector<Case> pages;
    pages.push_back({"parser-read", [] {
                         std::string html = "<p>first words";
                         for (int i = 0; i < 240; ++i) {
                             html += "<b class=c" + std::to_string(i) + ">";
                         }
                         return html + repeated("<p>x", 50000);
                     }});
    pages.push_back({"parser-innerhtml", [] {
                         return std::string(
                             "<p>first words</p><div id=t></div><script>var s='<p>a';"
                             "for(var i=0;i<240;i++)s+='<b class=c'+i+'>';"
                             "s+='<p>x'.repeat(5e4);document.getElementById('t').innerHTML=s;"
                             "</script>");
                     }});
    return pages;
}

constexpr Device kDevices[] = {{"phone", {375, 667}}, {"tablet", {768, 1024}}};

// What the web view does with a page, up to the picture of its first screen.
void layOutAndPaint(const std::string& html, Size screen) {
    WebPage page(html, "http://pages.example.invalid/bomb.html", "", [](const std::string&) {});
    page.runScripts();
    auto pictures = std::make_shared<HtmlPictures>(nullptr);
    HtmlLayout layout(page.layoutHTML(), pictures, page.takeReadingTime());
    layout.layOut(screen.width, screen.height);
    const auto wanted = pictures->takeWanted();
    for (const auto& url : wanted) {
        pictures->setPicture(url, Image::fromARGB(1, 1, {0xff336699u}));
    }
    if (!wanted.empty()) {
        layout.layOut(screen.width, screen.height);
    }
    BitmapContext context(screen, 2);
    layout.paint(context, Rect{{0, 0}, screen});
}

struct Outcome {
    double cpu = 0;
    double peakMB = 0;
    std::string ended;
};

Outcome runCase(const std::string& html, Size screen, long cpuLimit, long memoryLimitMB) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        rlimit cpu{rlim_t(cpuLimit), rlim_t(cpuLimit)};
        setrlimit(RLIMIT_CPU, &cpu);
        rlimit memory{rlim_t(memoryLimitMB) << 20, rlim_t(memoryLimitMB) << 20};
        setrlimit(RLIMIT_AS, &memory);
        layOutAndPaint(html, screen);
        _exit(0);
    }
    Outcome outcome;
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) {
        outcome.ended = "not run";
        return outcome;
    }
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    outcome.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    outcome.peakMB = usage.ru_maxrss / 1024.0;
    if (WIFEXITED(status)) {
        outcome.ended =
            WEXITSTATUS(status) == 0 ? "ok" : "exit " + std::to_string(WEXITSTATUS(status));
    } else if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        outcome.ended =
            signal == SIGXCPU || signal == SIGKILL ? "cpu limit" : std::string(strsignal(signal));
    }
    return outcome;
}

}  // namespace

int main(int argc, char** argv) {
    long cpuLimit = 20;
    long memoryLimitMB = 4096;
    std::vector<std::string> chosen;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--cpu-limit" && i + 1 < argc) {
            cpuLimit = std::atol(argv[++i]);
        } else if (arg == "--memory-limit" && i + 1 < argc) {
            memoryLimitMB = std::atol(argv[++i]);
        } else if (arg == "--unbudgeted") {
            HtmlEngineBudget::setLimits({std::chrono::hours(1), std::size_t(1) << 40});
        } else if (arg == "--engine-budget" && i + 2 < argc) {
            const long ms = std::atol(argv[++i]);
            const long mb = std::atol(argv[++i]);
            HtmlEngineBudget::setLimits({std::chrono::milliseconds(ms), std::size_t(mb) << 20});
        } else {
            chosen.push_back(arg);
        }
    }
    // Fonts and the engine's style sheet are loaded once, before the children share them, as
    // in a client that has shown a page before.
    layOutAndPaint("<p>warm</p>", kDevices[0].size);

    std::printf("%-16s %-7s %9s %9s  %s\n", "case", "device", "cpu s", "peak MB", "ended");
    bool met = true;
    std::vector<Case> all;
    for (const auto& name : chosen) {
        if (name.size() > 5 && name.substr(name.size() - 5) == ".html") {
            all.push_back({name, [name] {
                               std::ifstream file(name);
                               return std::string(std::istreambuf_iterator<char>(file), {});
                           }});
        }
    }
    for (const auto& bomb : testsupport::layoutBombs()) {
        all.push_back({bomb.name, [name = bomb.name] {
                           for (auto& made : testsupport::layoutBombs()) {
                               if (made.name == name) {
                                   return std::move(made.html);
                               }
                           }
                           return std::string();
                       }});
    }
    for (auto& bomb : enginePathBombs()) {
        all.push_back(std::move(bomb));
    }
    for (auto& page : parserPages()) {
        all.push_back(std::move(page));
    }
    all.push_back({"engine-mix", enginePathMix});
    all.push_back(
        {"all-mix", [] { return testsupport::layoutBombs().back().html + enginePathMix(); }});
    for (const auto& bomb : all) {
        const bool file = bomb.name.size() > 5 && bomb.name.substr(bomb.name.size() - 5) == ".html";
        if (!file && !chosen.empty() &&
            std::find(chosen.begin(), chosen.end(), bomb.name) == chosen.end()) {
            continue;
        }
        const std::string html = bomb.make();
        for (const Device& device : kDevices) {
            const Outcome outcome = runCase(html, device.size, cpuLimit, memoryLimitMB);
            std::printf("%-16s %-7s %9.3f %9.1f  %s\n", bomb.name.c_str(), device.name, outcome.cpu,
                        outcome.peakMB, outcome.ended.c_str());
            met = met && outcome.ended == "ok" && outcome.cpu < 1 && outcome.peakMB < 500;
        }
    }
    std::printf("goal (each within 1 s of CPU and 500 MB): %s\n", met ? "met" : "missed");
    return 0;
}
