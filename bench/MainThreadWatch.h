#pragma once

// The longest the main thread was busy, as a user feels it: a watcher thread posts a task to
// the main loop every few milliseconds and times how long each waits before it runs. Work done
// outside the loop (a synchronous decode on a screen) counts once the loop runs again.

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/foundation/RunLoop.h"

namespace bench {

class MainThreadWatch {
public:
    MainThreadWatch() : m_thread([this] { watch(); }) {}
    ~MainThreadWatch() { stop(); }
    MainThreadWatch(const MainThreadWatch&) = delete;
    MainThreadWatch& operator=(const MainThreadWatch&) = delete;

    // Stops watching, then runs the main loop until the ping posted last has been answered
    // (so work done outside the loop just before counts). Call on the main thread.
    void stop() {
        if (!m_thread.joinable())
            return;
        m_stopping = true;
        m_thread.join();
        platform::RunLoop::main().runUntil([this] { return !m_waiting.load(); },
                                           std::chrono::seconds(600));
    }

    // Seconds: the longest a ping waited for the main thread.
    double longestBusySeconds() const {
        return static_cast<double>(m_longestMicroseconds.load()) / 1e6;
    }

private:
    void watch() {
        using Clock = std::chrono::steady_clock;
        while (!m_stopping) {
            const auto posted = Clock::now();
            m_waiting = true;
            platform::RunLoop::main().post([this, posted] {
                const auto waited =
                    std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - posted)
                        .count();
                if (waited > m_longestMicroseconds)
                    m_longestMicroseconds = waited;
                m_waiting = false;
            });
            while (m_waiting && !m_stopping)
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_waiting{false};
    std::atomic<long long> m_longestMicroseconds{0};
    std::thread m_thread;
};

}  // namespace bench
