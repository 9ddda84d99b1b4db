#include "platform/webkit/EngineLoader.h"

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

#include "platform/foundation/CookieStorage.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/RunLoop.h"

namespace platform::webkit {

namespace {

struct Loaded {
    Engine* engine{nullptr};
    std::string error;
};

// CAMPUS_WEBKIT_MODULE names another build of the module; by default the one built beside the
// program.
std::string modulePath() {
    if (const char* path = std::getenv("CAMPUS_WEBKIT_MODULE"); path && *path)
        return path;
    return CAMPUS_WEBKIT_MODULE;
}

std::atomic<double> g_deviceScale{1};

Loaded load() {
    Loaded loaded;
    const std::string path = modulePath();
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        loaded.error = "the web engine cannot be loaded: " + std::string(why ? why : path);
        return loaded;
    }
    auto entry = reinterpret_cast<EntryPoint>(dlsym(module, kEntryPoint));
    if (!entry) {
        loaded.error = "the web engine module has no entry point: " + path;
        return loaded;
    }
    // Lives as long as the process, as the module does: never destroyed.
    static EngineHost& host = *new EngineHost;
    host.postToMain = [](std::function<void()> task) { RunLoop::main().post(std::move(task)); };
    host.dataDirectory = (paths::libraryDirectory() / "WebKit").string();
    host.deviceScale = std::max(1, int(std::lround(g_deviceScale.load())));
    // CAMPUS_WEB_MEMORY_MB lowers a web process's memory limit (a test of what passing it does
    // need not fill 512 MB); it never raises it.
    if (const char* limit = std::getenv("CAMPUS_WEB_MEMORY_MB")) {
        const long megabytes = std::strtol(limit, nullptr, 10);
        if (megabytes > 0 && std::size_t(megabytes) < host.memoryLimitMB)
            host.memoryLimitMB = std::size_t(megabytes);
    }
    host.log = [](const std::string& line) { platform::log("%@", line); };
    std::string error;
    loaded.engine = entry(&host, &error);
    if (!loaded.engine)
        loaded.error = "the web engine cannot start: " + error;
    return loaded;
}

webkit::Cookie toEngine(const platform::Cookie& cookie) {
    webkit::Cookie out;
    out.domain = cookie.domain;
    out.path = cookie.path;
    out.name = cookie.name;
    out.value = cookie.value;
    if (cookie.expires != std::chrono::system_clock::time_point{})
        out.expires =
            std::chrono::duration_cast<std::chrono::seconds>(cookie.expires.time_since_epoch())
                .count();
    out.secure = cookie.secure;
    out.httpOnly = cookie.httpOnly;
    return out;
}

platform::Cookie fromEngine(const webkit::Cookie& cookie) {
    platform::Cookie out;
    out.domain = cookie.domain;
    out.path = cookie.path;
    out.name = cookie.name;
    out.value = cookie.value;
    if (cookie.expires > 0)
        out.expires = std::chrono::system_clock::time_point{std::chrono::seconds(cookie.expires)};
    out.secure = cookie.secure;
    out.httpOnly = cookie.httpOnly;
    return out;
}

std::string keyOf(const platform::Cookie& cookie) {
    return cookie.domain + '\n' + cookie.path + '\n' + cookie.name;
}

// Set while the jar takes what WebKit holds, so that it is not handed back to WebKit.
thread_local bool t_takingFromEngine = false;

// One cookie store for the HTTP client and the pages: the jar is handed to WebKit, every change
// made to the jar follows it there, and every change a page or a reply makes in WebKit comes
// back into the jar (a cookie WebKit held and holds no more is deleted from it).
void shareCookies(Engine& engine) {
    auto& jar = CookieStorage::shared();
    for (const auto& cookie : jar.cookies()) engine.setCookie(toEngine(cookie));
    jar.addObserver([&engine](const platform::Cookie& cookie, bool deleted) {
        if (t_takingFromEngine)
            return;
        if (deleted)
            engine.deleteCookie(toEngine(cookie));
        else
            engine.setCookie(toEngine(cookie));
    });
    auto held = std::make_shared<std::map<std::string, platform::Cookie>>();
    engine.onCookiesChanged([held](std::vector<webkit::Cookie> cookies) {
        auto& jar = CookieStorage::shared();
        t_takingFromEngine = true;
        std::map<std::string, platform::Cookie> now;
        for (const auto& cookie : cookies) {
            platform::Cookie taken = fromEngine(cookie);
            now[keyOf(taken)] = taken;
        }
        const auto inJar = jar.cookies();
        for (const auto& [key, cookie] : now) {
            auto same = std::find_if(inJar.begin(), inJar.end(), [&](const platform::Cookie& c) {
                return keyOf(c) == key && c.value == cookie.value && c.expires == cookie.expires;
            });
            if (same == inJar.end())
                jar.setCookie(cookie);
        }
        for (const auto& [key, cookie] : *held) {
            if (!now.count(key))
                jar.deleteCookie(cookie);
        }
        *held = std::move(now);
        t_takingFromEngine = false;
    });
}

std::once_flag g_once;
Loaded g_loaded;
std::atomic<bool> g_loadBegun{false};
std::atomic<bool> g_loadDone{false};
std::atomic<bool> g_exiting{false};

// Registered when the engine first starts to load, after the objects it hands things to: at
// exit it runs before they are destroyed. A load under way (the warm-up) is waited for, then
// WebKit's thread is stopped: it would otherwise post into a run loop, a log or a cookie jar
// being torn down.
void quiesceAtExit() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        std::atexit([] {
            g_exiting = true;
            if (!g_loadBegun)
                return;
            std::call_once(g_once, [] {});
            if (g_loaded.engine)
                g_loaded.engine->quiesce();
        });
    });
}

void loadOnce() {
    quiesceAtExit();
    std::call_once(g_once, [] {
        g_loadBegun = true;
        // A warm-up that only gets its turn as the process ends starts nothing.
        if (g_exiting) {
            g_loaded.error = "the web engine is not started: the client is quitting";
            return;
        }
        g_loaded = load();
        if (!g_loaded.engine)
            platform::log("%@", g_loaded.error);
        else
            shareCookies(*g_loaded.engine);
        g_loadDone = true;
    });
}

}  // namespace

Engine* engine() {
    loadOnce();
    return g_loaded.engine;
}

const std::string& loadError() {
    loadOnce();
    return g_loaded.error;
}

void setDeviceScale(double scale) {
    if (scale > 0)
        g_deviceScale = scale;
}

void warmUp() {
    quiesceAtExit();
    dispatch::async([] { loadOnce(); });
}

bool isLoaded() {
    return g_loadDone;
}

void whenLoaded(std::function<void()> done) {
    if (g_loadDone) {
        RunLoop::main().post(std::move(done));
        return;
    }
    quiesceAtExit();
    dispatch::async([done = std::move(done)]() mutable {
        loadOnce();
        RunLoop::main().post(std::move(done));
    });
}

}  // namespace platform::webkit
