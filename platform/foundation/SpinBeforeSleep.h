#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace platform {

// Waking a sleeping thread costs tens of microseconds on machines whose idle processors halt at
// once (virtual machines without halt polling): longer than a hand-off between two of the
// client's own threads, or a reply from a server on the same machine or network, often takes.
// A thread about to sleep until another thread hands it work may first keep looking for a short
// while. This decides for how long. It learns how long recent hand-offs took and looks only
// while they came within its bound, so a source that keeps the thread waiting longer (a distant
// server, an idle user) costs no spinning at all. Thread-safe.
class SpinBeforeSleep {
public:
    using Duration = std::chrono::nanoseconds;

    explicit SpinBeforeSleep(Duration bound);

    // How long to keep looking before sleeping: zero until recent hand-offs came within the
    // bound, then twice their typical wait, never past the bound.
    Duration budget() const;
    // How long a wait lasted until the work came, whether it came while looking or after the
    // sleep. A wait that ended without work (a time-out) is not a hand-off and is not recorded.
    void record(Duration waited);

    // Looks at `ready` until it holds or `budget()` (cut to `atMost`) is spent, yielding the
    // processor between looks; whether it holds.
    bool lookFor(const std::atomic<bool>& ready, Duration atMost = Duration::max()) const;

private:
    const std::int64_t m_bound;
    // A moving average of recent waits, in nanoseconds, each counted as at most twice the
    // bound, so that one long wait does not keep the thread from looking for long. It starts
    // there: a thread looks only once hand-offs have shown themselves quick.
    std::atomic<std::int64_t> m_typical;
};

}  // namespace platform
