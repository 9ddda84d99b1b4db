#include <cstdlib>
#include <future>
#include <memory>

#include "platform/webkit/WebEngine.h"
#include "platform/webkit/module/GtkThread.h"
#include "platform/webkit/module/KitContext.h"
#include "platform/webkit/module/KitView.h"
#include "platform/webkit/module/Xvfb.h"

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

private:
    EngineHost m_host;
    std::string m_display;
    GtkThread& m_thread;
    KitContext& m_context;
};

Engine* start(const EngineHost* host, std::string* error) {
    std::string display = ensureDisplay(error);
    if (display.empty())
        return nullptr;
    // No accessibility bus here, and GTK and every web process would say so on every start.
    setenv("NO_AT_BRIDGE", "1", 0);
    setenv("GTK_A11Y", "none", 0);
    setenv("GDK_BACKEND", "x11", 1);
    GtkThread* thread = GtkThread::start(error);
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
