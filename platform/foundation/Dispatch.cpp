#include "platform/foundation/Dispatch.h"

#include <atomic>
#include <deque>
#include <thread>
#include <vector>

#include "platform/foundation/RunLoop.h"

namespace platform::dispatch {

namespace {

class ThreadPool {
public:
    explicit ThreadPool(unsigned count) {
        for (unsigned i = 0; i < count; ++i) m_threads.emplace_back([this] { work(); });
    }
    ~ThreadPool() {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_cv.notify_all();
        for (auto& t : m_threads) t.join();
    }
    void submit(std::function<void()> block) {
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back(std::move(block));
        }
        m_cv.notify_one();
    }

private:
    void work() {
        while (true) {
            std::function<void()> block;
            {
                std::unique_lock lock(m_mutex);
                m_cv.wait(lock, [&] { return m_stop || !m_queue.empty(); });
                if (m_queue.empty())
                    return;
                block = std::move(m_queue.front());
                m_queue.pop_front();
            }
            block();
        }
    }
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::function<void()>> m_queue;
    std::vector<std::thread> m_threads;
    bool m_stop{false};
};

std::atomic<size_t> g_inFlight{0};

ThreadPool& pool() {
    static ThreadPool instance(std::max(4u, std::thread::hardware_concurrency()));
    return instance;
}

}  // namespace

void async(std::function<void()> block) {
    g_inFlight.fetch_add(1);
    pool().submit([block = std::move(block)] {
        block();
        if (g_inFlight.fetch_sub(1) == 1)
            RunLoop::main().post([] {});
    });
}

size_t backgroundWorkInFlight() {
    return g_inFlight.load();
}

void mainAsync(std::function<void()> block) {
    RunLoop::main().post(std::move(block));
}

}  // namespace platform::dispatch

namespace platform {

void Semaphore::signal() {
    {
        std::lock_guard lock(m_mutex);
        ++m_value;
    }
    m_cv.notify_one();
}

bool Semaphore::wait(std::optional<std::chrono::milliseconds> timeout) {
    std::unique_lock lock(m_mutex);
    auto ready = [&] { return m_value > 0; };
    if (timeout) {
        if (!m_cv.wait_for(lock, *timeout, ready))
            return false;
    } else {
        m_cv.wait(lock, ready);
    }
    --m_value;
    return true;
}

}  // namespace platform
