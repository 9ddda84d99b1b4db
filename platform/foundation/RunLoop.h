#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/foundation/CheckedTime.h"
#include "platform/foundation/SpinBeforeSleep.h"

namespace platform {

using TimePoint = std::chrono::steady_clock::time_point;
using Duration = std::chrono::steady_clock::duration;

// Beyond the clock's range a duration is the longest one of its sign (and not a number none),
// so a far-off time stays far off instead of wrapping round.
inline Duration seconds(double s) {
    if (auto duration = durationFromSeconds<Duration>(s))
        return *duration;
    return s > 0 ? Duration::max() : s < 0 ? Duration::min() : Duration::zero();
}
inline double toSeconds(Duration d) {
    return std::chrono::duration<double>(d).count();
}

class Clock {
public:
    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    virtual bool isManual() const { return false; }
};

class RealClock final : public Clock {
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
};

// The real clock's time, moved on by skip(): a front end that drives the client from a script
// lets the client's idle time pass at once instead of sitting it out. Everything on the loop
// sees the time pass as if it had been waited for.
class SkippingClock final : public Clock {
public:
    TimePoint now() const override {
        return std::chrono::steady_clock::now() + Duration(m_skipped.load());
    }
    // Moves time on; a negative span is ignored (time never runs back). Thread-safe.
    void skip(Duration by);

private:
    std::atomic<Duration::rep> m_skipped{0};
};

// Time that moves only when a test says so (through RunLoop::advance), so timers and
// delayed work can be tested without sleeping.
class ManualClock final : public Clock {
public:
    TimePoint now() const override;
    bool isManual() const override { return true; }
    void set(TimePoint t);

private:
    mutable std::mutex m_mutex;
    TimePoint m_now{std::chrono::hours(24)};
};

struct DelayedTask;

// A delayed task that can be cancelled before it runs.
class TaskHandle {
public:
    TaskHandle() = default;
    explicit TaskHandle(std::shared_ptr<DelayedTask> task) : m_task(std::move(task)) {}
    void cancel();
    bool isPending() const;

private:
    std::shared_ptr<DelayedTask> m_task;
};

class RunLoop;

// A timer on the main run loop. Holding the shared pointer is not needed to keep it
// scheduled; invalidate() stops it.
class Timer : public std::enable_shared_from_this<Timer> {
public:
    void invalidate();
    bool isValid() const { return m_valid; }
    TimePoint fireDate() const { return m_fireDate; }
    void setFireDate(TimePoint date);
    Duration interval() const { return m_interval; }
    bool repeats() const { return m_repeats; }
    // Runs the action now, as a manual fire; a non-repeating timer is then invalid.
    void fire();

private:
    friend class RunLoop;
    Timer(RunLoop& loop, Duration interval, bool repeats, std::function<void(Timer&)> action)
        : m_loop(loop), m_interval(interval), m_repeats(repeats), m_action(std::move(action)) {}
    void schedule(TimePoint date);
    void onFire();

    RunLoop& m_loop;
    Duration m_interval;
    bool m_repeats;
    bool m_valid{true};
    TimePoint m_fireDate{};
    TaskHandle m_pending;
    std::function<void(Timer&)> m_action;
};

// The main thread's loop: posted tasks (from any thread), delayed tasks and timers, all run
// on the thread the loop is bound to.
class RunLoop {
public:
    using Task = std::function<void()>;

    static RunLoop& main();

    void bindToCurrentThread();
    bool isCurrent() const { return std::this_thread::get_id() == m_owner; }

    // Thread-safe.
    void post(Task task);
    TaskHandle postDelayed(Duration delay, Task task);
    std::shared_ptr<Timer> scheduleTimer(Duration interval, bool repeats,
                                         std::function<void(Timer&)> action);

    TimePoint now() const;
    void setClock(std::shared_ptr<Clock> clock);
    std::shared_ptr<ManualClock> useManualClock();
    std::shared_ptr<SkippingClock> useSkippingClock();
    void useRealClock();
    bool hasManualClock() const;

    // Runs the posted tasks waiting now and the delayed tasks that are due; returns how many ran.
    size_t runPending();
    // Runs tasks until the condition holds or the real-time bound passes; returns the condition.
    bool runUntil(const std::function<bool()>& condition,
                  std::chrono::milliseconds bound = std::chrono::seconds(10));
    // Runs tasks for a stretch of real time.
    void runFor(std::chrono::milliseconds duration);
    // With a manual clock: moves time forward, running everything that falls due on the way,
    // each at its own time.
    void advance(Duration by);
    // Runs until quit(); for the program.
    void run();
    void quit();
    // Drops every waiting task; for tests between cases.
    void reset();
    size_t delayedCount() const;
    // For a caller that waits for quiet: whether a posted task waits or a delayed task or timer
    // firing is due now; and when the next delayed task or one-shot timer falls due (repeating
    // timers always have a next firing, so they are left out). Thread-safe.
    bool hasWorkDueNow() const;
    std::optional<TimePoint> nextOneShotDue() const;
    // When the next delayed task or timer firing of any kind falls due, for a caller that
    // sleeps elsewhere (a window's event wait) until then. Thread-safe.
    std::optional<TimePoint> nextDue() const;
    // Called, on the posting thread, after every post, delayed post and quit: a caller that
    // sleeps outside the loop (in a window system's event wait) wakes itself there. The
    // handler must be thread-safe and must not post. An empty function removes it.
    void setWakeHandler(std::function<void()> handler);
    // Wakes a runUntil waiting on this loop (and the wake handler) without posting anything,
    // so that it checks its condition again: for a thread that changed what the condition
    // reads. A wake that comes while no one waits is kept for the next wait. Thread-safe.
    void wake();
    // Held by whoever will post to this loop soon (the network thread, for a request in
    // flight): while one is held, the loop looks for the post a while before it sleeps, as long
    // as such posts have lately come that quickly (see SpinBeforeSleep). Thread-safe.
    std::shared_ptr<void> expectPost();

private:
    friend class Timer;
    RunLoop();
    TaskHandle postDelayed(Duration delay, Task task, bool repeatingTimer);
    bool runOneDueDelayed(TimePoint limit);
    bool waitForWork(std::chrono::steady_clock::time_point realDeadline);
    // When a wait must end by the real clock: the deadline, or sooner the first delayed task's
    // time. Under the lock.
    std::chrono::steady_clock::time_point realWakeTime(
        std::chrono::steady_clock::time_point realDeadline) const;
    // Under the lock, after anything a wait looks at changed.
    void noteAttention();
    void wakeWaiters();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Task> m_posted;
    std::map<std::pair<TimePoint, uint64_t>, std::shared_ptr<DelayedTask>> m_delayed;
    uint64_t m_sequence{0};
    std::shared_ptr<Clock> m_clock;
    std::thread::id m_owner;
    bool m_quit{false};
    bool m_woken{false};  // a wake() that no wait has seen yet
    // Whether a wait would end now (a post, a wake or quit waits), readable without the lock.
    std::atomic<bool> m_attention{false};
    std::atomic<std::size_t> m_expectedPosts{0};
    SpinBeforeSleep m_expectedLook;
    std::shared_ptr<const std::function<void()>> m_wakeHandler;
};

}  // namespace platform
