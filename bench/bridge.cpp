// What a page of the web container costs on WebKit, in real time:
//   BM_LoadDemoPage50K            the bridge demo page, grown to 50 KB, opened in the web
//                                 container as the app opens it, until the page has loaded and
//                                 the web view is at rest (its outline read, its paint taken).
//                                 Goal: at most 1.2x BM_BareWebKitLoadDemoPage50K (its
//                                 "over_bare" counter takes the two in turns).
//   BM_BareWebKitLoadDemoPage50K  the same page in a bare engine view (no client script, no web
//                                 view around it) until WebKit says its load finished and a
//                                 picture of it is taken, as a page is only seen once painted:
//                                 the reference.
//   BM_OpenSmallPageToPaint       a small page of the school's opened in a new container until
//                                 the web view's paint shows it (its colour at the top).
//                                 Goal: <= 200 ms.
//   BM_GetStorageRoundTrip/1      the page on screen navigates to its getStorage command (a
//                                 script setting location.href), with a page store of 1,000
//                                 entries, until its callback's writing shows in the outline.
//                                 Goal: <= 5 ms.
//   BM_KeyEcho                    a key typed into the page's focused field, until the web
//                                 view's paint shows it. Goal: <= 16 ms.
//   BM_ScrollFrame                the scroller of a long page moved by one step, as a finger's
//                                 drag does, until a paint shows the page at the new place.
//                                 Goal: <= 16 ms.
// The goals are printed here, not asserted: run by hand, build/bench/bridge.
// Counters say where the time goes: for the load, WebKit's load finished (finish_ms), the
// page first painted (paint_ms) and first read (read_ms), and from the finish to rest
// (rest_ms); for the round trip, the command's ask reaching the container (ask_ms), its answer
// run in the page (answer_ms) and the page's writing read back (seen_ms).
//
// Every wait is for a condition, with a bound; a wait that runs out skips the benchmark with
// an error rather than measuring the bound.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"
#include "fakes/WebPages.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URLEscaping.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"
#include "platform/ui/WebView.h"
#include "platform/ui/WebViewDelegate.h"
#include "platform/ui/Window.h"
#include "platform/web/URLRequest.h"
#include "platform/webkit/EngineLoader.h"
#include "platform/webkit/WebEngine.h"
#include "webcontainer/WebDetailViewController.h"

namespace {

using namespace platform;
using Clock = std::chrono::steady_clock;

constexpr const char* kDemoPath = "/bridge-demo.html";
constexpr const char* kGrownPath = "/bridge-demo-50k.html";
constexpr const char* kFieldPath = "/bench-field.html";
constexpr const char* kLongPath = "/bench-long.html";
constexpr const char* kSmallPath = "/bench-small.html";
// The small page's background, as the paint reads it (0xRRGGBB).
constexpr std::uint32_t kSmallColour = 0x2a6f4eu;
constexpr std::size_t kPageSize = 50 * 1024;

// Long enough for a web process to start and a page of the fake services to load; what the
// steady state measures is far below it.
constexpr std::chrono::seconds kBound{20};

// The container's web view: the phone's width, its height less the bars.
constexpr int kWebWidth = 375;
constexpr int kWebHeight = 603;

// The long page: rows of this height, each with its own background colour, so that the
// paint's first row says where the page stands.
constexpr int kRowHeight = 20;
constexpr int kRows = 1000;

// The demo page with notes added before its end until it is 50 KB.
std::string grownDemoPage() {
    std::string page = fakes::bridgeDemoPage();
    const std::string end = "</body>";
    std::string notes;
    for (int n = 1; page.size() + notes.size() < kPageSize; ++n) {
        notes += "<p>说明 " + std::to_string(n) +
                 "：点按上面的命令，客户端执行后把回复交给页面的 callback，"
                 "回复显示在页首。</p>\n";
    }
    page.insert(page.rfind(end), notes);
    return page;
}

// One text field, the page's only control. Its caret is not drawn: the caret's blink would
// change the paint without a key.
std::string fieldPage() {
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1.0\">"
           "<title>输入</title></head><body>"
           "<p>姓名</p><input id=\"field\" type=\"text\" name=\"name\" "
           "style=\"font-size:18px;width:300px;caret-color:transparent\">"
           "</body></html>";
}

// The background of a row of the long page, as the paint reads it (0xRRGGBB).
std::uint32_t rowColour(int row) {
    return 0x400000u | (std::uint32_t(row % 200) << 8) | std::uint32_t(row / 200 * 40);
}

std::string smallPage() {
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1.0\">"
           "<title>通知</title></head><body style=\"margin:0;background:#2a6f4e;color:#fff\">"
           "<h3>图书馆开放时间调整</h3><p>寒假期间图书馆每日 9:00 至 17:00 开放。</p>"
           "</body></html>";
}

std::string longPage() {
    std::string html =
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1.0\">"
        "<title>长页</title><style>body{margin:0;font-size:14px}"
        "div{height:" +
        std::to_string(kRowHeight) + "px;line-height:" + std::to_string(kRowHeight) +
        "px;padding-left:40px;overflow:hidden}</style></head><body>";
    char colour[8];
    for (int row = 0; row < kRows; ++row) {
        std::snprintf(colour, sizeof colour, "%06x", unsigned(rowColour(row)));
        html += "<div style=\"background:#" + std::string(colour) + "\">第 " +
                std::to_string(row + 1) + " 行：岚溪学院校园新闻与通知</div>";
    }
    return html + "</body></html>";
}

fakes::FakeSchoolServices& server() {
    static fakes::FakeSchoolServices* instance = [] {
        auto* s = new fakes::FakeSchoolServices();
        s->start();
        const auto html = [](std::string body) {
            return fakes::Reply{200, "text/html;charset=UTF-8", std::move(body)};
        };
        s->setReply("GET", kGrownPath, html(grownDemoPage()));
        s->setReply("GET", kFieldPath, html(fieldPage()));
        s->setReply("GET", kLongPath, html(longPage()));
        s->setReply("GET", kSmallPath, html(smallPage()));
        // The pages are the school's: the bridge answers only the school's pages.
        ServiceConfig::shared().pointAllAt(s->baseUrl());
        return s;
    }();
    return *instance;
}

std::string urlOf(const char* path) {
    return server().baseUrl() + path;
}

bool waitFor(const std::function<bool()>& condition) {
    return RunLoop::main().runUntil(condition, kBound);
}

// No web view has work whose effects have yet to come back, and nothing is due on the loop.
bool quiet() {
    return !WebView::anyBusy() && !RunLoop::main().hasWorkDueNow();
}

// The page at `url` has loaded in the web view, been read and painted, and everything it set
// off has come back.
bool loadedAndAtRest(const WebView& web, const std::string& url) {
    return web.hasPage() && !web.isLoading() && web.pageURL() == url && !web.pageItems().empty() &&
           !web.paintedPage().isNull() && quiet();
}

// A page opened in the web container as the app opens one: titled and addressed by its opener,
// pushed in a navigation controller of the key window.
struct OpenedPage {
    std::shared_ptr<Window> window;
    std::shared_ptr<WebDetailViewController> page;

    WebView& web() const { return *page->webView(); }
};

OpenedPage openInContainer(const std::shared_ptr<Window>& window, const std::string& url) {
    OpenedPage opened{window, std::make_shared<WebDetailViewController>()};
    opened.page->setTitleStr("网页");
    opened.page->setUrlStr(url);
    window->setRootViewController(std::make_shared<NavigationController>(opened.page));
    window->makeKeyAndVisible();
    return opened;
}

// Opens the page on screen and waits for it to rest; false if it did not in time.
bool openAndSettle(OpenedPage& opened, const std::shared_ptr<Window>& window,
                   const std::string& url) {
    opened = openInContainer(window, url);
    return opened.page->webView() && waitFor([&] { return loadedAndAtRest(opened.web(), url); });
}

// --- A bare engine view ---------------------------------------------------------------------

// Lets every navigation go and notes how the load ends.
class BareClient final : public webkit::ViewClient {
public:
    webkit::EngineView* view{nullptr};
    int finished{0};
    int failed{0};

    void navigationAsked(const webkit::NavigationAsk& ask) override {
        if (view)
            view->decide(ask.id, true);
    }
    void loadChanged(webkit::LoadStage stage, const std::string&, int) override {
        finished += stage == webkit::LoadStage::Finished;
    }
    void loadFailed(const webkit::LoadFailure& failure) override { failed += !failure.cancelled; }
    void dialogAsked(const webkit::DialogAsk&) override {}
    void choicesAsked(const webkit::ChoicesAsk&) override {}
    void filesAsked(const webkit::FilesAsk&) override {}
};

// One load of the page in a new bare view, as the container makes a new web view for each page
// it opens; false when it did not finish in time.
bool bareLoad(const std::string& url) {
    auto* engine = webkit::engine();
    if (!engine)
        return false;
    auto client = std::make_shared<BareClient>();
    auto view = engine->makeView(client, webkit::ViewOptions{});
    client->view = view.get();
    view->setGeometry(kWebWidth, kWebHeight, 1);
    // As the container asks for its page: past any cached copy.
    webkit::LoadRequest request;
    request.url = url;
    request.ignoreCache = true;
    view->load(request);
    const bool done = waitFor([&] { return client->finished > 0 || client->failed > 0; });
    if (!done || client->finished == 0)
        return false;
    bool painted = false;
    view->snapshot(
        [&](std::shared_ptr<const webkit::Pixels> pixels) { painted = pixels != nullptr; });
    return waitFor([&] { return painted; });
}

double millis(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The bridge logs every command and reply; a benchmark's thousands of them are not wanted.
class QuietLog {
public:
    QuietLog() {
        setLogSink([](const std::string&) {});
    }
    ~QuietLog() { setLogSink(nullptr); }
};

// Stands in front of the container's delegate and notes when a navigation reached it, when
// the container's answer to it returned (a command's reply run in the page by then) and when
// a load finished.
class PhaseTap final : public WebViewDelegate {
public:
    std::weak_ptr<WebViewDelegate> next;
    Clock::time_point asked;
    Clock::time_point answered;
    Clock::time_point finished;

    bool shouldStartLoadWithRequest(WebView& webView, const URLRequest& request,
                                    WebViewNavigationType type) override {
        asked = Clock::now();
        auto delegate = next.lock();
        const bool allowed =
            delegate ? delegate->shouldStartLoadWithRequest(webView, request, type) : true;
        answered = Clock::now();
        return allowed;
    }
    void webViewDidStartLoad(WebView& webView) override {
        if (auto delegate = next.lock())
            delegate->webViewDidStartLoad(webView);
    }
    void webViewDidFinishLoad(WebView& webView) override {
        finished = Clock::now();
        if (auto delegate = next.lock())
            delegate->webViewDidFinishLoad(webView);
    }
    void didFailLoadWithError(WebView& webView, const WebError& error) override {
        if (auto delegate = next.lock())
            delegate->didFailLoadWithError(webView, error);
    }
};

// --- Loads ----------------------------------------------------------------------------------

void BM_BareWebKitLoadDemoPage50K(benchmark::State& state) {
    RunLoop::main().bindToCurrentThread();
    const std::string url = urlOf(kGrownPath);
    if (!webkit::engine()) {
        state.SkipWithError(("no engine: " + webkit::loadError()).c_str());
        return;
    }
    for (auto _ : state) {
        if (!bareLoad(url)) {
            state.SkipWithError("the page did not load");
            break;
        }
    }
    server().clearRequests();
}
BENCHMARK(BM_BareWebKitLoadDemoPage50K)->MinTime(3)->UseRealTime()->Unit(benchmark::kMillisecond);

// Each turn opens a new container, as the app does for each page; a bare load of the same
// page is taken between two turns (not timed), so that "over_bare" compares the two on the
// machine in the same state.
void BM_LoadDemoPage50K(benchmark::State& state) {
    RunLoop::main().bindToCurrentThread();
    const std::string url = urlOf(kGrownPath);
    QuietLog quietLog;
    testing::UiTestScope scope{Size{375, 667}, false};
    auto window = View::make<Window>();
    OpenedPage opened;
    Clock::duration loads{};
    Clock::duration bares{};
    // Where the time goes: to WebKit's load finished, then to the web view at rest (the page
    // read by the client world, painted).
    Clock::duration toFinish{};
    Clock::duration toRest{};
    // And when the page's items were first read, and when it was first painted.
    Clock::duration toRead{};
    Clock::duration toPaint{};
    std::size_t items = 0;
    for (auto _ : state) {
        state.PauseTiming();
        window->setRootViewController(nullptr);
        opened = {};
        const auto bareStart = Clock::now();
        const bool bareDone = bareLoad(url);
        bares += Clock::now() - bareStart;
        state.ResumeTiming();

        const auto start = Clock::now();
        opened = openInContainer(window, url);
        auto tap = std::make_shared<PhaseTap>();
        if (opened.page->webView()) {
            tap->next = opened.web().delegate();
            opened.web().setDelegate(tap);
        }
        std::optional<Clock::time_point> read;
        std::optional<Clock::time_point> painted;
        const bool loaded = opened.page->webView() && waitFor([&] {
                                const WebView& web = opened.web();
                                if (!read && !web.pageItems().empty() && web.pageURL() == url)
                                    read = Clock::now();
                                if (!painted && !web.paintedPage().isNull())
                                    painted = Clock::now();
                                return loadedAndAtRest(web, url);
                            });
        const auto rested = Clock::now();
        loads += rested - start;
        toFinish += tap->finished - start;
        toRest += rested - tap->finished;
        toRead += read.value_or(rested) - start;
        toPaint += painted.value_or(rested) - start;
        if (!loaded || !bareDone) {
            state.SkipWithError("the page did not load");
            break;
        }
        items = opened.web().pageItems().size();
    }
    const double n = double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["over_bare"] = millis(loads) / std::max(millis(bares), 1e-9);
    state.counters["bare_ms"] = millis(bares) / n;
    state.counters["finish_ms"] = millis(toFinish) / n;
    state.counters["rest_ms"] = millis(toRest) / n;
    state.counters["read_ms"] = millis(toRead) / n;
    state.counters["paint_ms"] = millis(toPaint) / n;
    state.counters["items"] = double(items);
    if (opened.page && opened.page->webView())
        state.counters["bytes"] = double(opened.web().pageHTML().size());
    window->setRootViewController(nullptr);
    server().clearRequests();
}
BENCHMARK(BM_LoadDemoPage50K)->MinTime(3)->UseRealTime()->Unit(benchmark::kMillisecond);

// Each turn opens a new container on the small page, as the user opens a notice; the page is
// seen once a paint shows its background. The container's web process is started in the
// turn, as for a page opened on its own.
void BM_OpenSmallPageToPaint(benchmark::State& state) {
    RunLoop::main().bindToCurrentThread();
    const std::string url = urlOf(kSmallPath);
    QuietLog quietLog;
    testing::UiTestScope scope{Size{375, 667}, false};
    auto window = View::make<Window>();
    OpenedPage opened;
    const auto shown = [&] {
        const Image& paint = opened.web().paintedPage();
        return !paint.isNull() && (paint.pixelAt(4, 4) & 0xffffffu) == kSmallColour;
    };
    for (auto _ : state) {
        state.PauseTiming();
        window->setRootViewController(nullptr);
        opened = {};
        const bool rested = waitFor(quiet);
        state.ResumeTiming();
        opened = openInContainer(window, url);
        if (!rested || !opened.page->webView() || !waitFor(shown)) {
            state.SkipWithError("the page was not shown");
            break;
        }
    }
    window->setRootViewController(nullptr);
    server().clearRequests();
}
BENCHMARK(BM_OpenSmallPageToPaint)->UseRealTime()->Unit(benchmark::kMillisecond);

// --- The bridge -----------------------------------------------------------------------------

// The text of the page element with the id, as the outline last read it.
std::string elementText(const WebView& web, const std::string& id) {
    for (const auto& item : web.pageItems()) {
        if (item.kind == PageItem::Kind::Element && item.id == id)
            return item.text;
    }
    return {};
}

// A command address as the demo page's send() makes it.
std::string commandURL(const std::string& word, const Json& argument) {
    return "lanxi-bridge://" + word + "=" + urlEncodedString(argument.dump());
}

// From the page's script setting location.href to the command's address, to what its callback
// wrote (the reply and the count of replies) read back from the page. Arg 1: the page on
// screen, in the key window, so that the screen's own work runs on the same turns.
void BM_GetStorageRoundTrip(benchmark::State& state) {
    constexpr int kEntries = 1000;
    RunLoop::main().bindToCurrentThread();
    QuietLog quietLog;
    testing::UiTestScope scope{Size{375, 667}, false};
    auto window = View::make<Window>();
    OpenedPage opened;
    const std::string url = urlOf(kDemoPath);
    if (!openAndSettle(opened, window, url)) {
        state.SkipWithError("the demo page did not load");
        return;
    }
    WebView& web = opened.web();

    Json entries = Json::object();
    for (int n = 0; n < kEntries; ++n)
        entries["key" + std::to_string(n)] = "值 " + std::to_string(n);
    web.simulateNavigation(commandURL("setStorage", entries));
    if (!waitFor([&] { return opened.page->pageStore().size() == std::size_t(kEntries); }) ||
        !waitFor(quiet)) {
        state.SkipWithError("the page store was not filled");
        return;
    }

    // Where the time goes: to the command's ask reaching the container, the container's
    // answer (its reply run in the page), and the page's writing read back.
    auto tap = std::make_shared<PhaseTap>();
    tap->next = web.delegate();
    web.setDelegate(tap);
    Clock::duration toAsk{};
    Clock::duration toAnswer{};
    Clock::duration toSeen{};

    int replies = std::stoi("0" + elementText(web, "count"));
    int n = 0;
    for (auto _ : state) {
        const int key = n++ % kEntries;
        const std::string expected = std::to_string(++replies);
        const auto start = Clock::now();
        web.simulateNavigation(
            commandURL("getStorage", Json{{"key", "key" + std::to_string(key)}}));
        if (!waitFor([&] { return elementText(web, "count") == expected; })) {
            state.SkipWithError("no reply reached the page's callback");
            break;
        }
        const auto seen = Clock::now();
        state.PauseTiming();
        toAsk += tap->asked - start;
        toAnswer += tap->answered - tap->asked;
        toSeen += seen - tap->answered;
        // The reply was the one asked for; the next command starts from a page at rest.
        const bool right =
            elementText(web, "reply").find("值 " + std::to_string(key)) != std::string::npos;
        const bool rested = waitFor(quiet);
        state.ResumeTiming();
        if (!right || !rested) {
            state.SkipWithError(right ? "the page did not come to rest" : "a wrong reply");
            break;
        }
    }
    const double count = double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["ask_ms"] = millis(toAsk) / count;
    state.counters["answer_ms"] = millis(toAnswer) / count;
    state.counters["seen_ms"] = millis(toSeen) / count;
    state.counters["store_entries"] = double(opened.page->pageStore().size());
    web.setDelegate(tap->next);
    window->setRootViewController(nullptr);
    server().clearRequests();
}
BENCHMARK(BM_GetStorageRoundTrip)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);

// --- Input and paint ------------------------------------------------------------------------

std::shared_ptr<TextField> pageField(const WebView& web) {
    for (const auto& view : web.scrollView()->subviews()) {
        if (auto field = std::dynamic_pointer_cast<TextField>(view))
            return field;
    }
    return nullptr;
}

// From a key typed in the client's keyboard into the page's focused field to the web view's
// paint changed by it. Each key starts from a page at rest, so the paint that ends the wait is
// the key's own (the field's caret is not drawn, so nothing else changes it).
void BM_KeyEcho(benchmark::State& state) {
    constexpr int kMaxLength = 24;
    static const std::string kKeys = "abcdefghijklmnopqrstuvwxyz";
    RunLoop::main().bindToCurrentThread();
    QuietLog quietLog;
    testing::UiTestScope scope{Size{375, 667}, false};
    auto window = View::make<Window>();
    OpenedPage opened;
    const std::string url = urlOf(kFieldPath);
    if (!openAndSettle(opened, window, url)) {
        state.SkipWithError("the field page did not load");
        return;
    }
    WebView& web = opened.web();
    auto field = pageField(web);
    testing::UIDriver driver;
    if (!field || !driver.tap(field) || !field->isEditing() ||
        !waitFor([&] { return web.pageOutline().focus >= 0 && quiet(); })) {
        state.SkipWithError("the page's field did not take the focus");
        return;
    }

    std::string typed;
    int n = 0;
    for (auto _ : state) {
        const Image before = web.paintedPage();
        const std::string key(1, kKeys[std::size_t(n++) % kKeys.size()]);
        field->typeText(key);
        if (!waitFor([&] { return !(web.paintedPage() == before); })) {
            state.SkipWithError("the key never showed in the paint");
            break;
        }
        typed += key;
        state.PauseTiming();
        bool rested = waitFor(quiet);
        // A short field, as a user's: emptied now and then, outside the measure.
        if (typed.size() >= std::size_t(kMaxLength)) {
            while (field->deleteBackward()) {
            }
            typed.clear();
            rested = rested && waitFor(quiet);
        }
        state.ResumeTiming();
        if (!rested) {
            state.SkipWithError("the page did not come to rest");
            break;
        }
    }
    // What the page's field holds is what was typed.
    const auto& items = web.pageItems();
    const bool echoed = std::any_of(items.begin(), items.end(), [&](const PageItem& item) {
        return item.kind == PageItem::Kind::Field && item.text == typed;
    });
    state.counters["field_matches"] = echoed ? 1 : 0;
    state.counters["paint_w"] = double(web.paintedPage().pixelWidth());
    state.counters["paint_scale"] = web.paintedPage().scale();
    window->setRootViewController(nullptr);
    server().clearRequests();
}
BENCHMARK(BM_KeyEcho)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The row the paint shows at its top, by its colour; -1 for none.
int rowAtTop(const Image& paint) {
    const std::uint32_t colour = paint.pixelAt(4, 0) & 0xffffffu;
    for (int row = 0; row < kRows; ++row) {
        if (rowColour(row) == colour)
            return row;
    }
    return -1;
}

// From the scroller moved by one row (a finger's drag of 20 points) to the paint showing the
// page from that row. Down the page and back to its top when it runs out.
void BM_ScrollFrame(benchmark::State& state) {
    RunLoop::main().bindToCurrentThread();
    QuietLog quietLog;
    testing::UiTestScope scope{Size{375, 667}, false};
    auto window = View::make<Window>();
    OpenedPage opened;
    const std::string url = urlOf(kLongPath);
    if (!openAndSettle(opened, window, url)) {
        state.SkipWithError("the long page did not load");
        return;
    }
    WebView& web = opened.web();
    const auto& scroller = web.scrollView();
    if (web.zoomScale() != 1 || rowAtTop(web.paintedPage()) != 0) {
        state.SkipWithError("the long page is not shown at scale 1 from its top");
        return;
    }
    const int lastTopRow = kRows - kWebHeight / kRowHeight - 1;
    int row = 0;
    for (auto _ : state) {
        row = row >= lastTopRow ? 0 : row + 1;
        scroller->setContentOffset(Point{0, double(row * kRowHeight)});
        if (!waitFor([&] { return rowAtTop(web.paintedPage()) == row; })) {
            state.SkipWithError("the paint never showed the page scrolled");
            break;
        }
        state.PauseTiming();
        const bool rested = waitFor(quiet);
        state.ResumeTiming();
        if (!rested) {
            state.SkipWithError("the page did not come to rest");
            break;
        }
    }
    state.counters["paint_w"] = double(web.paintedPage().pixelWidth());
    state.counters["paint_h"] = double(web.paintedPage().pixelHeight());
    state.counters["paint_scale"] = web.paintedPage().scale();
    window->setRootViewController(nullptr);
    server().clearRequests();
}
BENCHMARK(BM_ScrollFrame)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
