#pragma once

#include <functional>
#include <memory>

namespace platform::components {

// Tasks that run one after another, in the order given, on the shared background pool: the
// image cache's own queue, so disk reads see every write queued before them.
class SerialQueue {
public:
    SerialQueue();
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    // Thread-safe; returns at once.
    void async(std::function<void()> task);
    // Runs the task on the queue after everything queued before it and waits for it. Called
    // from a task of this queue, it runs the task at once.
    void sync(const std::function<void()>& task);

private:
    struct State;
    static void drain(const std::shared_ptr<State>& state);

    // Shared with the pool's workers, so a task still running when the queue goes away
    // (at process exit) has its state.
    std::shared_ptr<State> m_state;
};

}  // namespace platform::components
