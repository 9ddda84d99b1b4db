#include "platform/webkit/EngineLoader.h"

#include <dlfcn.h>

#include <cstdlib>
#include <mutex>

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
    // Lives as long as the process, as the module does.
    static EngineHost host;
    host.postToMain = [](std::function<void()> task) { RunLoop::main().post(std::move(task)); };
    host.dataDirectory = (paths::libraryDirectory() / "WebKit").string();
    host.log = [](const std::string& line) { platform::log("%@", line); };
    std::string error;
    loaded.engine = entry(&host, &error);
    if (!loaded.engine)
        loaded.error = "the web engine cannot start: " + error;
    return loaded;
}

std::once_flag g_once;
Loaded g_loaded;

void loadOnce() {
    std::call_once(g_once, [] {
        g_loaded = load();
        if (!g_loaded.engine)
            platform::log("%@", g_loaded.error);
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

void warmUp() {
    dispatch::async([] { loadOnce(); });
}

}  // namespace platform::webkit
