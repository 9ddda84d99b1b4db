#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

namespace platform::dispatch {

// Runs the block on the shared background pool ("global queue").
void async(std::function<void()> block);
// Posts the block to the main run loop.
void mainAsync(std::function<void()> block);
// Blocks given to async() that have not finished yet. A block that posts its result to the
// main loop does so before it counts as finished, so "none in flight and nothing posted"
// means the background has nothing more to say. When the count falls to zero the main loop
// is woken, so a wait on it notices.
size_t backgroundWorkInFlight();

}  // namespace platform::dispatch

namespace platform {

// A counting semaphore with the phone's semantics: wait() blocks until a signal arrives or
// the time-out passes.
class Semaphore {
public:
    explicit Semaphore(long value = 0) : m_value(value) {}
    void signal();
    // Returns false when the time-out passed first; no time-out waits for ever.
    bool wait(std::optional<std::chrono::milliseconds> timeout = std::nullopt);

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    long m_value;
};

}  // namespace platform
