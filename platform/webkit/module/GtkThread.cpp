#include "platform/webkit/module/GtkThread.h"

#include <gtk/gtk.h>

#include <chrono>
#include <future>
#include <memory>

#include "platform/webkit/module/Xvfb.h"

namespace platform::webkit {

GtkThread* GtkThread::start(std::string* display, std::string* error) {
    auto thread = new GtkThread();
    // Shared with the thread: a start that is given up on must not leave it writing to a
    // caller gone.
    struct Start {
        std::promise<void> ready;
        std::string display;
        std::string error;
    };
    auto shared = std::make_shared<Start>();
    auto started = shared->ready.get_future();
    std::thread([thread, shared] {
        thread->m_id = std::this_thread::get_id();
        shared->display = ensureDisplay(&shared->error);
        if (shared->display.empty()) {
            shared->ready.set_value();
            return;
        }
        if (!gtk_init_check(nullptr, nullptr)) {
            shared->error = "GTK cannot open the display " + shared->display;
            shared->ready.set_value();
            return;
        }
        shared->ready.set_value();
        // The thread lives as long as the process: WebKit's objects are never torn down at
        // exit, as a browser's are not.
        GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
        g_main_loop_run(loop);
    }).detach();
    if (started.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        *error = "GTK did not start within 20 s";
        return nullptr;
    }
    if (!shared->error.empty()) {
        *error = shared->error;
        return nullptr;
    }
    *display = shared->display;
    return thread;
}

bool GtkThread::park(std::chrono::milliseconds bound) {
    if (isCurrent())
        return false;
    auto parked = std::make_shared<std::promise<void>>();
    auto future = parked->get_future();
    post([parked] {
        parked->set_value();
        // The process is ending: nothing more runs here, and _exit takes the thread.
        for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
    });
    return future.wait_for(bound) == std::future_status::ready;
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
