#include "platform/webkit/module/GtkThread.h"

#include <gtk/gtk.h>

#include <chrono>
#include <future>
#include <memory>

namespace platform::webkit {

GtkThread* GtkThread::start(std::string* error) {
    auto thread = new GtkThread();
    std::promise<std::string> ready;
    auto started = ready.get_future();
    std::thread([thread, &ready] {
        thread->m_id = std::this_thread::get_id();
        if (!gtk_init_check(nullptr, nullptr)) {
            ready.set_value("GTK cannot open the display");
            return;
        }
        ready.set_value({});
        // The thread lives as long as the process: WebKit's objects are never torn down at
        // exit, as a browser's are not.
        GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
        g_main_loop_run(loop);
    }).detach();
    if (started.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        *error = "GTK did not start within 20 s";
        return nullptr;
    }
    if (std::string failed = started.get(); !failed.empty()) {
        *error = failed;
        return nullptr;
    }
    return thread;
}

void GtkThread::post(std::function<void()> task) {
    // A source of its own rather than g_main_context_invoke, which would run the task at once
    // when posted from this thread, ahead of those already waiting.
    GSource* source = g_idle_source_new();
    g_source_set_priority(source, G_PRIORITY_DEFAULT);
    g_source_set_callback(
        source,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        new std::function<void()>(std::move(task)),
        [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
    g_source_attach(source, nullptr);
    g_source_unref(source);
}

}  // namespace platform::webkit
