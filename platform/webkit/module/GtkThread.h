#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace platform::webkit {

// The one thread GTK and WebKit live on: it runs GLib's default main context, and every GTK or
// WebKit call of the module is a task posted here.
class GtkThread {
public:
    // Starts the thread, a display for it (ensureDisplay) and GTK on it; null with the reason
    // when there is no display. Waits (bounded) for GTK to be ready: only the first web view
    // pays for it. `display` gets the display's name.
    static GtkThread* start(std::string* display, std::string* error);

    // Thread-safe; tasks run in the order posted.
    void post(std::function<void()> task);
    bool isCurrent() const { return std::this_thread::get_id() == m_id; }
    // Parks the thread for good once what was posted before has run; false when it did not
    // get there within `bound` (it is busy in a call that does not return).
    bool park(std::chrono::milliseconds bound);

private:
    GtkThread() = default;
    std::thread::id m_id;
};

}  // namespace platform::webkit
