#include "components/webimage/SerialQueue.h"

#include <deque>
#include <mutex>

#include "platform/foundation/Dispatch.h"

namespace platform::components {

struct SerialQueue::State {
    std::mutex mutex;
    std::deque<std::function<void()>> tasks;
    bool draining{false};
};

namespace {

thread_local const void* t_currentQueue = nullptr;

}  // namespace

SerialQueue::SerialQueue() : m_state(std::make_shared<State>()) {}

SerialQueue::~SerialQueue() = default;

void SerialQueue::async(std::function<void()> task) {
    if (!task) {
        return;
    }
    bool start = false;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->tasks.push_back(std::move(task));
        start = !m_state->draining;
        m_state->draining = true;
    }
    if (start) {
        dispatch::async([state = m_state] { drain(state); });
    }
}

void SerialQueue::sync(const std::function<void()>& task) {
    if (!task) {
        return;
    }
    if (t_currentQueue == m_state.get()) {
        task();
        return;
    }
    Semaphore done;
    async([&task, &done] {
        task();
        done.signal();
    });
    done.wait();
}

void SerialQueue::drain(const std::shared_ptr<State>& state) {
    const void* previous = t_currentQueue;
    t_currentQueue = state.get();
    while (true) {
        std::function<void()> task;
        {
            std::lock_guard lock(state->mutex);
            if (state->tasks.empty()) {
                state->draining = false;
                break;
            }
            task = std::move(state->tasks.front());
            state->tasks.pop_front();
        }
        task();
    }
    t_currentQueue = previous;
}

}  // namespace platform::components
