#include "platform/foundation/RunLoop.h"

#include <atomic>

namespace platform {

namespace {

// A reply from a server on this machine or a nearby one comes within this; one from further
// away takes longer, and the loop then sleeps at once.
constexpr auto kExpectedLookBound = std::chrono::microseconds(500);

}  // namespace

struct DelayedTask {
    // Guards fn: a task may be cancelled on one thread while the loop takes it on another.
    std::mutex mutex;
    std::function<void()> fn;
    std::atomic<bool> cancelled{false};
    std::atomic<bool> done{false};
    bool repeatingTimer{false};  // a repeating timer's next firing

    // Gives up the closure at once, so whatever it captured is released now rather than when
    // the loop would have reached the task (or never, when something holds the handle).
    void cancel() {
        std::function<void()> dropped;
        {
            std::lock_guard lock(mutex);
            cancelled = true;
            dropped = std::move(fn);
            fn = nullptr;
        }
        // Destroyed outside the lock: a captured object's destructor may cancel other tasks.
    }

    // The closure to run now, or empty when the task was cancelled.
    std::function<void()> take() {
        std::lock_guard lock(mutex);
        if (cancelled)
            return {};
        done = true;
        auto taken = std::move(fn);
        fn = nullptr;
        return taken;
    }
};

void SkippingClock::skip(Duration by) {
    if (by > Duration::zero())
        m_skipped.fetch_add(by.count());
}

TimePoint ManualClock::now() const {
    std::lock_guard lock(m_mutex);
    return m_now;
}

void ManualClock::set(TimePoint t) {
    std::lock_guard lock(m_mutex);
    if (t > m_now)
        m_now = t;
}

void TaskHandle::cancel() {
    if (m_task)
        m_task->cancel();
}

bool TaskHandle::isPending() const {
    return m_task && !m_task->cancelled && !m_task->done;
}

void Timer::invalidate() {
    m_valid = false;
    m_pending.cancel();
    m_action = nullptr;  // lets go of whatever the action captured
}

void Timer::setFireDate(TimePoint date) {
    if (!m_valid)
        return;
    m_pending.cancel();
    schedule(date);
}

void Timer::fire() {
    if (!m_valid)
        return;
    auto keep = shared_from_this();
    auto action = m_action;
    if (action)
        action(*this);
    if (!m_repeats)
        invalidate();
}

void Timer::schedule(TimePoint date) {
    m_fireDate = date;
    std::weak_ptr<Timer> weak = weak_from_this();
    auto now = m_loop.now();
    m_pending = m_loop.postDelayed(
        date > now ? date - now : Duration::zero(),
        [weak] {
            if (auto self = weak.lock())
                self->onFire();
        },
        m_repeats);
}

void Timer::onFire() {
    if (!m_valid)
        return;
    auto keep = shared_from_this();
    auto action = m_action;
    if (m_repeats)
        schedule(checkedAdd(m_fireDate, m_interval).value_or(TimePoint::max()));
    if (action)
        action(*this);
    if (!m_repeats)
        invalidate();
}

RunLoop::RunLoop()
    : m_clock(std::make_shared<RealClock>()),
      m_owner(std::this_thread::get_id()),
      m_expectedLook(kExpectedLookBound) {}

RunLoop& RunLoop::main() {
    static RunLoop* loop = new RunLoop();  // lives for the process, never destroyed
    return *loop;
}

void RunLoop::bindToCurrentThread() {
    std::lock_guard lock(m_mutex);
    m_owner = std::this_thread::get_id();
}

void RunLoop::post(Task task) {
    {
        std::lock_guard lock(m_mutex);
        m_posted.push_back(std::move(task));
        noteAttention();
    }
    wakeWaiters();
}

TaskHandle RunLoop::postDelayed(Duration delay, Task task) {
    return postDelayed(delay, std::move(task), false);
}

TaskHandle RunLoop::postDelayed(Duration delay, Task task, bool repeatingTimer) {
    auto entry = std::make_shared<DelayedTask>();
    entry->fn = std::move(task);
    entry->repeatingTimer = repeatingTimer;
    {
        std::lock_guard lock(m_mutex);
        // A delay past the clock's range is due never, not at a wrapped-round time.
        auto due = checkedAdd(m_clock->now(), std::max(delay, Duration::zero()))
                       .value_or(TimePoint::max());
        m_delayed.emplace(std::make_pair(due, m_sequence++), entry);
    }
    wakeWaiters();
    return TaskHandle(entry);
}

std::shared_ptr<Timer> RunLoop::scheduleTimer(Duration interval, bool repeats,
                                              std::function<void(Timer&)> action) {
    std::shared_ptr<Timer> timer(new Timer(*this, interval, repeats, std::move(action)));
    // The loop keeps a scheduled timer alive until it is invalidated, as the phone's loop does.
    auto keeper = timer;
    // invalidate() drops the action and with it this reference.
    timer->m_action = [inner = timer->m_action, keeper](Timer& t) {
        if (inner)
            inner(t);
    };
    timer->schedule(
        checkedAdd(now(), std::max(interval, Duration::zero())).value_or(TimePoint::max()));
    return timer;
}

TimePoint RunLoop::now() const {
    std::lock_guard lock(m_mutex);
    return m_clock->now();
}

void RunLoop::setClock(std::shared_ptr<Clock> clock) {
    std::lock_guard lock(m_mutex);
    m_clock = std::move(clock);
}

std::shared_ptr<ManualClock> RunLoop::useManualClock() {
    auto clock = std::make_shared<ManualClock>();
    setClock(clock);
    return clock;
}

std::shared_ptr<SkippingClock> RunLoop::useSkippingClock() {
    auto clock = std::make_shared<SkippingClock>();
    setClock(clock);
    return clock;
}

void RunLoop::useRealClock() {
    setClock(std::make_shared<RealClock>());
}

bool RunLoop::hasManualClock() const {
    std::lock_guard lock(m_mutex);
    return m_clock->isManual();
}

bool RunLoop::runOneDueDelayed(TimePoint limit) {
    std::shared_ptr<DelayedTask> entry;
    {
        std::lock_guard lock(m_mutex);
        while (!m_delayed.empty()) {
            auto it = m_delayed.begin();
            if (it->first.first > limit)
                return false;
            entry = it->second;
            m_delayed.erase(it);
            if (!entry->cancelled)
                break;
            entry.reset();
        }
    }
    if (!entry)
        return false;
    auto fn = entry->take();
    if (fn)
        fn();
    return true;
}

size_t RunLoop::runPending() {
    std::deque<Task> batch;
    {
        std::lock_guard lock(m_mutex);
        batch.swap(m_posted);
        noteAttention();
    }
    size_t ran = 0;
    for (auto& task : batch) {
        if (task)
            task();
        ++ran;
    }
    // Only what is due at the start of this pass, so a task that reschedules itself at zero
    // delay cannot starve the caller.
    auto limit = now();
    uint64_t lastSequence;
    {
        std::lock_guard lock(m_mutex);
        lastSequence = m_sequence;
    }
    while (true) {
        std::shared_ptr<DelayedTask> entry;
        {
            std::lock_guard lock(m_mutex);
            auto it = m_delayed.begin();
            while (it != m_delayed.end() && it->first.first <= limit) {
                if (it->first.second < lastSequence)
                    break;
                ++it;
            }
            if (it == m_delayed.end() || it->first.first > limit)
                break;
            entry = it->second;
            m_delayed.erase(it);
        }
        if (entry->cancelled)
            continue;
        auto fn = entry->take();
        if (fn)
            fn();
        ++ran;
    }
    return ran;
}

bool RunLoop::waitForWork(std::chrono::steady_clock::time_point realDeadline) {
    std::unique_lock lock(m_mutex);
    if (!m_posted.empty())
        return true;
    const bool expecting = m_expectedPosts.load() > 0;
    const auto started = std::chrono::steady_clock::now();
    if (expecting) {
        const auto lookUntil = realWakeTime(realDeadline);
        lock.unlock();
        m_expectedLook.lookFor(m_attention, lookUntil - started);
        lock.lock();
    }
    // Taken after the look: a task delayed from another thread meanwhile may fall due sooner.
    m_wake.wait_until(lock, realWakeTime(realDeadline), [&] {
        return !m_posted.empty() || m_quit || m_woken ||
               (!m_clock->isManual() && !m_delayed.empty() &&
                m_delayed.begin()->first.first <= m_clock->now());
    });
    if (expecting && !m_posted.empty())
        m_expectedLook.record(std::chrono::steady_clock::now() - started);
    m_woken = false;
    noteAttention();
    return true;
}

std::chrono::steady_clock::time_point RunLoop::realWakeTime(
    std::chrono::steady_clock::time_point realDeadline) const {
    if (m_clock->isManual() || m_delayed.empty())
        return realDeadline;
    // The loop's clock may run ahead of the real one (a skipping clock): the real time at which
    // the task falls due, or never for one past the clock's range.
    const auto steadyNow = std::chrono::steady_clock::now();
    const auto due = checkedAdd(steadyNow, m_delayed.begin()->first.first - m_clock->now())
                         .value_or(std::chrono::steady_clock::time_point::max());
    return std::min(due, realDeadline);
}

void RunLoop::noteAttention() {
    m_attention = !m_posted.empty() || m_woken || m_quit;
}

std::shared_ptr<void> RunLoop::expectPost() {
    m_expectedPosts.fetch_add(1);
    // The main loop lives for the process, so a promise can never outlive it.
    return std::shared_ptr<void>(nullptr, [this](void*) { m_expectedPosts.fetch_sub(1); });
}

bool RunLoop::runUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
    auto deadline = std::chrono::steady_clock::now() + bound;
    while (true) {
        runPending();
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        waitForWork(deadline);
    }
}

void RunLoop::runFor(std::chrono::milliseconds duration) {
    auto deadline = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < deadline) {
        runPending();
        waitForWork(deadline);
    }
    runPending();
}

void RunLoop::advance(Duration by) {
    std::shared_ptr<ManualClock> manual;
    {
        std::lock_guard lock(m_mutex);
        manual = std::dynamic_pointer_cast<ManualClock>(m_clock);
    }
    if (!manual)
        return;
    auto target = manual->now() + by;
    runPending();
    while (true) {
        TimePoint due;
        {
            std::lock_guard lock(m_mutex);
            if (m_delayed.empty() || m_delayed.begin()->first.first > target)
                break;
            due = m_delayed.begin()->first.first;
        }
        manual->set(due);
        runOneDueDelayed(due);
        runPending();
    }
    manual->set(target);
    runPending();
}

void RunLoop::run() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = false;
        noteAttention();
    }
    while (true) {
        runPending();
        {
            std::lock_guard lock(m_mutex);
            if (m_quit)
                return;
        }
        waitForWork(std::chrono::steady_clock::now() + std::chrono::seconds(1));
    }
}

void RunLoop::quit() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        noteAttention();
    }
    wakeWaiters();
}

void RunLoop::wake() {
    {
        std::lock_guard lock(m_mutex);
        m_woken = true;
        noteAttention();
    }
    wakeWaiters();
}

void RunLoop::wakeWaiters() {
    m_wake.notify_all();
    std::shared_ptr<const std::function<void()>> handler;
    {
        std::lock_guard lock(m_mutex);
        handler = m_wakeHandler;
    }
    // Outside the lock: the handler may ask the loop when it is next due.
    if (handler && *handler)
        (*handler)();
}

void RunLoop::setWakeHandler(std::function<void()> handler) {
    std::lock_guard lock(m_mutex);
    m_wakeHandler =
        handler ? std::make_shared<const std::function<void()>>(std::move(handler)) : nullptr;
}

void RunLoop::reset() {
    std::deque<Task> posted;
    std::map<std::pair<TimePoint, uint64_t>, std::shared_ptr<DelayedTask>> delayed;
    {
        std::lock_guard lock(m_mutex);
        posted.swap(m_posted);
        delayed.swap(m_delayed);
        noteAttention();
    }
    // Outside the lock: the closures' captures may post or cancel as they are destroyed. Each
    // delayed closure is released even if a handle to its task lives on, so an object holding
    // the handle to a task that captured the object itself is not kept alive by the pair.
    posted.clear();
    for (auto& [key, entry] : delayed) entry->cancel();
}

bool RunLoop::hasWorkDueNow() const {
    std::lock_guard lock(m_mutex);
    if (!m_posted.empty())
        return true;
    const TimePoint now = m_clock->now();
    for (const auto& [key, entry] : m_delayed) {
        if (key.first > now)
            return false;
        if (!entry->cancelled)
            return true;
    }
    return false;
}

std::optional<TimePoint> RunLoop::nextOneShotDue() const {
    std::lock_guard lock(m_mutex);
    for (const auto& [key, entry] : m_delayed) {
        if (!entry->cancelled && !entry->repeatingTimer)
            return key.first;
    }
    return std::nullopt;
}

std::optional<TimePoint> RunLoop::nextDue() const {
    std::lock_guard lock(m_mutex);
    for (const auto& [key, entry] : m_delayed) {
        if (!entry->cancelled)
            return key.first;
    }
    return std::nullopt;
}

size_t RunLoop::delayedCount() const {
    std::lock_guard lock(m_mutex);
    size_t n = 0;
    for (auto& [key, entry] : m_delayed)
        if (!entry->cancelled)
            ++n;
    return n;
}

}  // namespace platform
