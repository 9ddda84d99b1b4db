#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The web view's engine: WebKit, in a module of its own (module/) that the program loads the
// first time a web view is made, so that a client that never opens a page never pays for it.
// This header is all the rest of the tree sees of it: plain values and two interfaces, no GTK
// or WebKit type. GTK and every WebKit object live on the module's own thread; every call
// below returns at once (it is carried out there, in the order made), and every ViewClient
// call arrives on the host's main thread through the post function the host gave. Nothing
// here ever makes the main thread wait on a web process, but for evaluateWithin's bound.

namespace platform::webkit {

// One snapshot of what a view shows: cairo's ARGB32 (premultiplied, native byte order), in
// device pixels, `scale` of them to a CSS pixel at zoom 1.
struct Pixels {
    int width = 0;
    int height = 0;
    int stride = 0;
    double scale = 1;
    std::vector<std::uint8_t> data;
};

// Why a navigation happens, as WebKit tells it (the phone's navigation types, in their order).
enum class NavigationKind {
    LinkClicked,
    FormSubmitted,
    BackForward,
    Reload,
    FormResubmitted,
    Other
};

// A navigation of any frame, before anything is fetched; answered by EngineView::decide. The
// engine cannot tell which frame navigates; what it knows of who asked is here.
struct NavigationAsk {
    std::uint64_t id = 0;
    std::string url;
    std::string method;
    NavigationKind kind = NavigationKind::Other;
    // A server's redirect of a load under way.
    bool redirect = false;
    bool userGesture = false;
    // The page asked for a new window (target=_blank, window.open).
    bool newWindow = false;
    // The Referer the request carries: the document that asked, as its referrer policy lets
    // it show (often only its origin); "" when it shows nothing.
    std::string referrer;
    // The main frame's address as the view has it at that moment: during a main-frame load,
    // the address being loaded (the hop a redirect leaves); else the page shown.
    std::string viewURL;
    bool viewLoading = false;
};

// The main frame's load, in WebKit's order: started, redirected (each hop), committed (the
// new page is the one shown), finished. Same-document moves (a fragment, pushState) are not
// loads: they come as uriChanged alone.
enum class LoadStage { Started, Redirected, Committed, Finished };

struct LoadFailure {
    std::string url;
    // WebKit's network error code where it has one; `cancelled` for a stop or a navigation
    // that replaced it; `blocked` for a reply WebKit would not show (a download).
    int code = 0;
    // The error's domain as WebKit names it ("WebKitNetworkError", "g-io-error-quark"...).
    std::string domain;
    bool cancelled = false;
    bool blocked = false;
    // The page's reply stopped before it was whole (the server went away mid-reply).
    bool connectionLost = false;
    // The view is loading still: another load replaced the one that failed.
    bool stillLoading = false;
    std::string message;
};

// One item of the back-forward list; `id` stays the item's for its life.
struct HistoryItem {
    std::uint64_t id = 0;
    std::string url;
    std::string title;
};
struct HistoryState {
    std::vector<HistoryItem> back;  // nearest first
    std::optional<HistoryItem> current;
    std::vector<HistoryItem> forward;  // nearest first
};

struct DialogAsk {
    enum class Kind { Alert, Confirm, Prompt, BeforeUnload };
    std::uint64_t id = 0;
    Kind kind = Kind::Alert;
    std::string message;
    std::string defaultText;
};

struct ChoicesAsk {
    struct Option {
        std::string label;
        bool enabled = true;
        bool selected = false;
        bool groupLabel = false;
    };
    std::uint64_t id = 0;
    std::vector<Option> options;
    // Where the select stands in the view, in CSS pixels of the visible area.
    double x = 0, y = 0, width = 0, height = 0;
};

struct FilesAsk {
    std::uint64_t id = 0;
    bool multiple = false;
    std::vector<std::string> mimeTypes;
};

enum class ProcessEnd {
    Crashed,
    // Past the memory limit the engine set.
    MemoryLimit,
    // It stopped answering, or kept a CPU busy, past the bound, and the engine ended it.
    Unresponsive,
    // The host asked (EngineView::terminate).
    Terminated,
};

// What a view tells its host; every call on the host's main thread, none after the host's
// EngineView is gone.
class ViewClient {
public:
    virtual ~ViewClient() = default;
    // Must be answered (EngineView::decide) once, now or later; until then the load waits.
    virtual void navigationAsked(const NavigationAsk& ask) = 0;
    // `status`: the page's HTTP status once committed (0 before, and for a page not from HTTP).
    virtual void loadChanged(LoadStage stage, const std::string& url, int status) = 0;
    virtual void loadFailed(const LoadFailure& failure) = 0;
    virtual void uriChanged(const std::string& /*url*/) {}
    virtual void titleChanged(const std::string& /*title*/) {}
    virtual void historyChanged(const HistoryState& /*state*/) {}
    // A message the client's own script world posted ("campus" handler): a JSON text.
    virtual void worldMessage(const std::string& /*json*/) {}
    // Each must be answered once (answerDialog, answerChoices, answerFiles); the page's script
    // waits until then (a dialog), or the control stays open.
    virtual void dialogAsked(const DialogAsk& ask) = 0;
    virtual void choicesAsked(const ChoicesAsk& ask) = 0;
    virtual void filesAsked(const FilesAsk& ask) = 0;
    virtual void processEnded(ProcessEnd /*why*/) {}
    // A snapshot taken because what the view shows changed (see EngineView::setLive).
    virtual void painted(std::shared_ptr<const Pixels> /*pixels*/) {}
};

// A script's world: the page's own, or the client's, which the page can neither see nor
// change (its globals, its message handler) though it shares the page's document.
enum class World { Page, Client };

struct LoadRequest {
    std::string url;
    bool ignoreCache = false;
    std::vector<std::pair<std::string, std::string>> headers;
};

struct ViewOptions {
    std::string userAgent;
    // Runs in the client's world of the main frame at the start of every document; it posts to
    // the host through window.webkit.messageHandlers.campus.
    std::string clientScript;
    // The caret's colour in pages that set none (a CSS colour; "" for the text's own), as the
    // phone draws every caret in its tint.
    std::string caretColor;
};

class EngineView {
public:
    virtual ~EngineView() = default;

    // The visible area in CSS pixels at zoom 1 times `zoom` (the window's logical size), and
    // the page's zoom: the page is laid out width / zoom CSS pixels wide.
    virtual void setGeometry(int width, int height, double zoom) = 0;
    virtual void load(const LoadRequest& request) = 0;
    virtual void loadHTML(const std::string& html, const std::string& baseURL) = 0;
    virtual void decide(std::uint64_t navigation, bool allow) = 0;
    virtual void stop() = 0;
    virtual void reload(bool ignoreCache) = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;

    // `done` gets the completion value as text (JSON.stringify'd when not a string), nothing
    // for undefined, or on an error or a page gone.
    virtual void evaluate(const std::string& script, World world,
                          std::function<void(std::optional<std::string>)> done = {}) = 0;
    // The same, for a caller that needs the answer now: waits at most `bound`.
    virtual std::optional<std::string> evaluateWithin(const std::string& script, World world,
                                                      std::chrono::milliseconds bound) = 0;

    // `done` runs (on the host's main thread) once the page has handled everything sent to it
    // before, and a turn of its own event loop has passed: what a click or a script set off
    // at once (a navigation asked, the client world's outline posted) has reached the host
    // by then. Also when the page is gone.
    virtual void sync(std::function<void()> done) = 0;

    // What the view shows now, on its way (on the host's main thread).
    virtual void snapshot(std::function<void(std::shared_ptr<const Pixels>)> done) = 0;
    // While live, the view sends painted() after what it shows may have changed (a load, a
    // script's change, input), at most one snapshot under way at a time.
    virtual void setLive(bool live) = 0;
    // While live: a picture of the view once what was sent before has been handled, sent as
    // painted() without waiting for the page's turn (the client moved what it shows).
    virtual void paintNow() = 0;

    // Real input, at a point of the visible area in CSS pixels of the window (logical).
    virtual void click(double x, double y) = 0;
    // A key by its X keysym name ("Return", "Tab", "BackSpace", "a").
    virtual void key(const std::string& keysym) = 0;
    virtual void scroll(double dx, double dy, double x, double y) = 0;

    virtual void answerDialog(std::uint64_t id, bool accepted, const std::string& text) = 0;
    // -1 for none chosen.
    virtual void answerChoices(std::uint64_t id, int index) = 0;
    // Empty for none.
    virtual void answerFiles(std::uint64_t id, const std::vector<std::string>& paths) = 0;

    virtual void terminate() = 0;
};

struct Cookie {
    std::string domain;
    std::string path = "/";
    std::string name;
    std::string value;
    // Seconds since the epoch; 0 for a session cookie.
    long long expires = 0;
    bool secure = false;
    bool httpOnly = false;
};

// What the host lends the module.
struct EngineHost {
    // Runs the task on the host's main thread; thread-safe.
    std::function<void(std::function<void()>)> postToMain;
    // Where WebKit keeps its caches and local storage.
    std::string dataDirectory;
    // Device pixels to a point of the screen the pages show on (the phone's 2): snapshots come
    // at that scale.
    int deviceScale = 1;
    // A web process's memory limit.
    std::size_t memoryLimitMB = 512;
    // A web process that does not answer for this long, or keeps a CPU busy for this long, is
    // ended.
    std::chrono::milliseconds unresponsiveBound{2000};
    // Each line the engine has to say (start-up trouble, processes ended).
    std::function<void(const std::string&)> log;
};

class Engine {
public:
    virtual ~Engine() = default;
    virtual std::unique_ptr<EngineView> makeView(std::weak_ptr<ViewClient> client,
                                                 const ViewOptions& options) = 0;
    // The shared cookie store: what the host's HTTP client holds is handed in, and every change
    // WebKit makes (a page's Set-Cookie or document.cookie) comes back on the main thread.
    virtual void setCookie(const Cookie& cookie) = 0;
    virtual void deleteCookie(const Cookie& cookie) = 0;
    virtual void onCookiesChanged(std::function<void(std::vector<Cookie>)> changed) = 0;
    // The display the module uses: the one set, or the Xvfb it started.
    virtual std::string display() const = 0;
    // At the process's exit: WebKit's thread stops handing anything to the host, whose
    // objects are being destroyed (a bounded wait for it to stop).
    virtual void quiesce() = 0;
};

// The module's entry point (extern "C", named kEntryPoint): the engine, or null with the reason
// in `error` (no display could be had, WebKit's sandbox cannot run here).
using EntryPoint = Engine* (*)(const EngineHost* host, std::string* error);
inline constexpr const char* kEntryPoint = "campus_webkit_engine";

}  // namespace platform::webkit
