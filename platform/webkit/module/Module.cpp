#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>

#include "platform/webkit/WebEngine.h"
#include "platform/webkit/module/GtkThread.h"
#include "platform/webkit/module/KitContext.h"
#include "platform/webkit/module/KitView.h"

namespace platform::webkit {

namespace {

class KitEngine final : public Engine {
public:
    KitEngine(const EngineHost& host, std::string display, GtkThread& thread, KitContext& context)
        : m_host(host), m_display(std::move(display)), m_thread(thread), m_context(context) {}

    std::unique_ptr<EngineView> makeView(std::weak_ptr<ViewClient> client,
                                         const ViewOptions& options) override {
        return std::make_unique<KitView>(m_thread, m_context, m_host, std::move(client), options);
    }
    void setCookie(const Cookie& cookie) override {
        m_thread.post([this, cookie] { m_context.setCookie(cookie); });
    }
    void deleteCookie(const Cookie& cookie) override {
        m_thread.post([this, cookie] { m_context.deleteCookie(cookie); });
    }
    void onCookiesChanged(std::function<void(std::vector<Cookie>)> changed) override {
        m_thread.post(
            [this, changed = std::move(changed)] { m_context.onCookiesChanged(changed); });
    }
    std::string display() const override { return m_display; }
    void quiesce() override { m_thread.park(std::chrono::seconds(2)); }

private:
    EngineHost m_host;
    std::string m_display;
    GtkThread& m_thread;
    KitContext& m_context;
};

// WebKit's web processes run in bubblewrap's sandbox, which needs user namespaces: asked once,
// before any page, so that a machine without them gets one clear line rather than pages whose
// processes die as they start.
bool sandboxRuns(std::string* error) {
    const pid_t child = fork();
    if (child < 0) {
        *error = "cannot try WebKit's sandbox: fork failed";
        return false;
    }
    if (child == 0) {
        const int quiet = open("/dev/null", O_RDWR);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        execlp("bwrap", "bwrap", "--unshare-user-try", "--unshare-pid", "--ro-bind", "/", "/",
               "--dev", "/dev", "--proc", "/proc", "true", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    *error = WIFEXITED(status) && WEXITSTATUS(status) == 127
                 ? "WebKit's sandbox cannot run here: bubblewrap (bwrap) is not installed"
                 : "WebKit's sandbox cannot run here: this machine does not let bubblewrap make "
                   "its namespaces (unprivileged user namespaces are off, or a container forbids "
                   "them)";
    return false;
}

Engine* start(const EngineHost* host, std::string* error) {
    if (!sandboxRuns(error))
        return nullptr;
    // No accessibility bus here, and GTK and every web process would say so on every start.
    setenv("NO_AT_BRIDGE", "1", 0);
    setenv("GTK_A11Y", "none", 0);
    // The pages are drawn at the screen's scale.
    const std::string scale = std::to_string(std::max(1, host->deviceScale));
    setenv("GDK_SCALE", scale.c_str(), 1);
    setenv("GDK_BACKEND", "x11", 1);
    std::string display;
    GtkThread* thread = GtkThread::start(&display, error);
    if (!thread)
        return nullptr;
    std::promise<KitContext*> made;
    auto context = made.get_future();
    thread->post([&made, host] { made.set_value(new KitContext(*host)); });
    return new KitEngine(*host, display, *thread, *context.get());
}

}  // namespace

}  // namespace platform::webkit

extern "C" __attribute__((visibility("default"))) platform::webkit::Engine* campus_webkit_engine(
    const platform::webkit::EngineHost* host, std::string* error) {
    return platform::webkit::start(host, error);
}
