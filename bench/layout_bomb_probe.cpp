// CPU time and peak memory of laying out and painting each page made to crash or stall the
// layout (tests/support/LayoutBombs.h, and the pages below that outran its bounds on the
// engine's paths one by one), and of all of them in one page, on the phone (375x667)
// and the tablet (768x1024): the page's layout document made as the web view makes it, laid
// out, its one picture (a dot tiled over a huge box) arriving and the page laid out again, and
// the first screen painted at 2x. Each case runs in a forked child of its own, so that one
// case's memory never counts in another's, held to a CPU and an address-space limit so that a
// page that would run for minutes or ask for gigabytes ends the child and is reported as such.
//   layout_bomb_probe [CASE ... | glyphs | FILE.html ...] [--cpu-limit SECONDS]
//                     [--memory-limit MEGABYTES]
//                     [--unbudgeted | --engine-budget MILLISECONDS MEGABYTES]
// (a FILE.html is a page of one's own, measured like the cases; --unbudgeted lifts the
// engine's budget, HtmlEngineBudget, to see what a page would cost without it, and
// --engine-budget sets other bounds for it)
// Prints one line a case and device: CPU seconds, peak resident MB, and how it ended ("ok",
// "plain text" past the engine's budget, "cut" at the layout's, or a limit or signal).
// Goal: every case within 1 s of CPU and under 500 MB; the glyph pages (probeGlyphPages)
// under 600 MB at their peak, and within 50 MB after ten of what one left.
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

#include "platform/foundation/Log.h"
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

// Ordinary pages as large as the layout writer lets a page be, one at each of its caps: what
// school pages hold at most must lay out and paint well inside the engine's budget (see the
// "ended" column: "ok", not "plain text").
std::vector<Case> capPages() {
    std::vector<Case> pages;
    // A timetable in a column's table in a frame table ... `depth` tables deep.
    auto nestedTimetable = [](int depth) {
        std::string html = "<table style=\"border-collapse:collapse\">";
        for (int row = 0; row < 7; ++row) {
            html += "<tr>";
            for (int day = 0; day < 8; ++day) {
                html += "<td style=\"border:1px solid #999;padding:3px\">课程" +
                        std::to_string(row * 8 + day) + "</td>";
            }
            html += "</tr>";
        }
        html += "</table>";
        for (int level = 1; level < depth; ++level) {
            html = "<table width=\"100%\"><tr><td>栏目" + std::to_string(level) +
                   "</td><td>更多</td></tr><tr><td colspan=\"2\">" + html + "</td></tr></table>";
        }
        return "<p>本周课表</p>" + html + "<p>课表结束</p>";
    };
    for (const int depth : {3, 4, 6, 8}) {
        pages.push_back({"tables-" + std::to_string(depth),
                         [nestedTimetable, depth] { return nestedTimetable(depth); }});
    }
    // A score table of `rows` rows (four elements a row).
    auto scores = [](int rows) {
        std::string html = "<table><tr><th>学号</th><th>姓名</th><th>成绩</th></tr>";
        for (int row = 1; row <= rows; ++row) {
            const std::string n = std::to_string(row);
            html += "<tr><td>2024" + n + "</td><td>学生" + n + "</td><td>" +
                    std::to_string(60 + row % 40) + "</td></tr>";
        }
        return html + "</table><p>表格结束，如有疑问请联系人：教务处王老师</p>";
    };
    for (const int rows : {3000, 6000, 12500}) {
        pages.push_back(
            {"scores-" + std::to_string(rows), [scores, rows] { return scores(rows); }});
    }
    // A list of `count` notices, an element each.
    auto notices = [](int count) {
        std::string html = "<ul>";
        for (int item = 1; item <= count; ++item) {
            html += "<li>第" + std::to_string(item) + "条通知</li>";
        }
        return html + "</ul>";
    };
    for (const int count : {10000, 25000, 50000}) {
        pages.push_back(
            {"list-" + std::to_string(count), [notices, count] { return notices(count); }});
    }
    // An article of `megabytes` of paragraphs under headings.
    auto article = [](int megabytes) {
        std::string html;
        for (int section = 0; html.size() < (std::size_t(megabytes) << 20); ++section) {
            html += "<h3>第" + std::to_string(section) + "节</h3><p>" +
                    repeated("学校召开全体教师会议，布置本学期教学工作。Teachers met today. ", 20) +
                    "</p>";
        }
        return html;
    };
    for (const int megabytes : {1, 2}) {
        pages.push_back({"article-" + std::to_string(megabytes) + "mb",
                         [article, megabytes] { return article(megabytes); }});
    }
    // Blocks `depth` deep, each with a line of its own.
    auto nested = [](int depth) {
        std::string html;
        for (int level = 0; level < depth; ++level) {
            html += "<div style=\"padding-left:2px\">第" + std::to_string(level) + "层";
        }
        return html + repeated("</div>", depth);
    };
    for (const int depth : {64, 128}) {
        pages.push_back(
            {"depth-" + std::to_string(depth), [nested, depth] { return nested(depth); }});
    }
    return pages;
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

// How a child says that its page was not laid out whole.
constexpr int kShownAsPlainText = 3;
constexpr int kShownCut = 4;

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
        // How the page was shown, as the engine logs it.
        bool plain = false;
        bool cut = false;
        setLogSink([&](const std::string& line) {
            plain = plain || line.find("shown as plain text") != std::string::npos;
            cut = cut || line.find("is not shown") != std::string::npos;
        });
        layOutAndPaint(html, screen);
        _exit(plain ? kShownAsPlainText : cut ? kShownCut : 0);
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
        const int code = WEXITSTATUS(status);
        outcome.ended = code == 0                   ? "ok"
                        : code == kShownAsPlainText ? "plain text"
                        : code == kShownCut         ? "cut"
                                                    : "exit " + std::to_string(code);
    } else if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        outcome.ended =
            signal == SIGXCPU || signal == SIGKILL ? "cpu limit" : std::string(strsignal(signal));
    }
    return outcome;
}

double residentMB() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

// The glyph pages (testsupport::glyphPage): 2,000 different Chinese characters half a screen high, stacked in one place
// (the `page`th page has its own), so that drawing them would keep a picture of each in the
// glyph caches. Ten of them shown one after another on the phone at 2x, in a forked child:
// the peak, and what stays resident after the first page and after the tenth.
bool probeGlyphPages() {
    std::fflush(stdout);
    int results[2];
    if (pipe(results) != 0) {
        return false;
    }
    const pid_t child = fork();
    if (child == 0) {
        double resident[2] = {0, 0};
        for (int page = 0; page < 10; ++page) {
            layOutAndPaint(testsupport::glyphPage(page), kDevices[0].size);
            resident[page == 0 ? 0 : 1] = residentMB();
        }
        [[maybe_unused]] auto written = write(results[1], resident, sizeof resident);
        _exit(0);
    }
    close(results[1]);
    double resident[2] = {0, 0};
    const bool read = ::read(results[0], resident, sizeof resident) == sizeof resident;
    close(results[0]);
    rusage usage{};
    int status = 0;
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !read) {
        std::printf("glyph pages: not run\n");
        return false;
    }
    const double peak = usage.ru_maxrss / 1024.0;
    std::printf(
        "glyph pages (10, phone at 2x): peak %.1f MB, resident after the first %.1f MB, "
        "after the tenth %.1f MB\n",
        peak, resident[0], resident[1]);
    return peak < 600 && resident[1] - resident[0] < 50;
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
    for (auto& page : capPages()) {
        all.push_back(std::move(page));
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
            const bool shown =
                outcome.ended == "ok" || outcome.ended == "plain text" || outcome.ended == "cut";
            met = met && shown && outcome.cpu < 1 && outcome.peakMB < 500;
        }
    }
    if (chosen.empty() || std::find(chosen.begin(), chosen.end(), "glyphs") != chosen.end()) {
        const bool glyphsMet = probeGlyphPages();
        std::printf("goal (glyph pages peak under 600 MB, within 50 MB after ten): %s\n",
                    glyphsMet ? "met" : "missed");
    }
    std::printf("goal (each within 1 s of CPU and 500 MB): %s\n", met ? "met" : "missed");
    return 0;
}
