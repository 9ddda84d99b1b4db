#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/foundation/SpinBeforeSleep.h"
#include "platform/net/HttpRequest.h"
#include "platform/net/HttpResponse.h"

namespace platform {

class CurlTransfer;

// The thread that drives every asynchronous request through one curl multi handle. Requests
// and cancellations are handed over under a lock and the thread is woken; completions are
// posted to the main run loop. Destroying it stops and joins the thread, dropping what is still
// in flight (only done as the process ends).
class NetworkThread {
public:
    using Completion = std::function<void(HttpResponse)>;

    NetworkThread();
    ~NetworkThread();
    NetworkThread(const NetworkThread&) = delete;
    NetworkThread& operator=(const NetworkThread&) = delete;

    void enqueue(std::uint64_t id, HttpRequest request, Completion completion);
    void cancel(std::uint64_t id);

private:
    struct Job {
        std::uint64_t id{0};
        std::unique_ptr<CurlTransfer> transfer;
        Completion completion;
    };

    void run();
    void wake(bool polling);
    void start(Job job);
    void finishDone();
    void complete(Job& job, HttpResponse response);

    void* m_multi{nullptr};  // CURLM*, kept opaque to spare includers curl's headers

    std::mutex m_mutex;
    // Wakes the thread while nothing is in flight; while transfers run it waits in curl's poll
    // and is woken through the multi handle instead.
    std::condition_variable m_work;
    std::vector<Job> m_incoming;
    std::vector<std::uint64_t> m_cancelled;
    bool m_stopping{false};
    bool m_polling{false};
    // Whether anything waits in m_incoming or m_cancelled, or m_stopping is set: written under
    // the lock, and readable without it by the idle thread looking for its next request.
    std::atomic<bool> m_handedOver{false};
    // Requests often follow one another closely (a list, then its pictures): an idle thread
    // looks for the next one briefly before sleeping, while that has paid off lately.
    SpinBeforeSleep m_idleLook;

    std::map<std::uint64_t, Job> m_active;  // network thread only
    std::thread m_thread;
};

}  // namespace platform
