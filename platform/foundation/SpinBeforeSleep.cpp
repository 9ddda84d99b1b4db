#include "platform/foundation/SpinBeforeSleep.h"

#include <algorithm>
#include <thread>

namespace platform {

namespace {

// Each new wait counts for a quarter: a few quick hand-offs in a row start the looking, a few
// slow ones stop it.
constexpr std::int64_t kWeightShift = 2;

}  // namespace

SpinBeforeSleep::SpinBeforeSleep(Duration bound)
    : m_bound(std::max<std::int64_t>(0, bound.count())), m_typical(2 * m_bound) {}

SpinBeforeSleep::Duration SpinBeforeSleep::budget() const {
    const std::int64_t typical = m_typical.load(std::memory_order_relaxed);
    if (m_bound == 0 || typical > m_bound)
        return Duration::zero();
    return Duration(std::min(m_bound, 2 * typical));
}

void SpinBeforeSleep::record(Duration waited) {
    const std::int64_t sample = std::clamp<std::int64_t>(waited.count(), 0, 2 * m_bound);
    std::int64_t typical = m_typical.load(std::memory_order_relaxed);
    // Racing records may lose one sample to another; the average only steers how long to look.
    m_typical.store(typical + ((sample - typical) >> kWeightShift), std::memory_order_relaxed);
}

bool SpinBeforeSleep::lookFor(const std::atomic<bool>& ready, Duration atMost) const {
    const Duration spend = std::min(budget(), atMost);
    if (ready.load(std::memory_order_acquire))
        return true;
    if (spend <= Duration::zero())
        return false;
    const auto until = std::chrono::steady_clock::now() + spend;
    while (std::chrono::steady_clock::now() < until) {
        // Yielding lets a thread that shares this processor (the one about to hand over, on a
        // machine with few cores) run instead of waiting for the look to end.
        std::this_thread::yield();
        if (ready.load(std::memory_order_acquire))
            return true;
    }
    return false;
}

}  // namespace platform
