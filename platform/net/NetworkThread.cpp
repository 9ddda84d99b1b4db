#include "platform/net/NetworkThread.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdint>

#include "platform/foundation/RunLoop.h"
#include "platform/net/CurlTransfer.h"

namespace platform {

namespace {

// Also the longest the thread sleeps if a wake-up were ever missed.
constexpr int kPollMilliseconds = 1000;
constexpr long kConnectionsPerHost = 6;
// Longer than a thread's wake-up where that is slow, far shorter than a person's next action.
constexpr auto kIdleLookBound = std::chrono::microseconds(250);

CURLM* multiOf(void* handle) {
    return static_cast<CURLM*>(handle);
}

}  // namespace

NetworkThread::NetworkThread() : m_idleLook(kIdleLookBound) {
    ensureCurlInitialised();
    m_multi = curl_multi_init();
    // As on the phone, a handful of connections per host at a time; the rest wait their turn.
    // Small servers (with short listen backlogs) would otherwise drop connection attempts.
    if (m_multi)
        curl_multi_setopt(multiOf(m_multi), CURLMOPT_MAX_HOST_CONNECTIONS, kConnectionsPerHost);
    if (m_multi)
        m_thread = std::thread([this] { run(); });
}

NetworkThread::~NetworkThread() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_handedOver = true;
    }
    m_work.notify_one();
    if (m_multi)
        curl_multi_wakeup(multiOf(m_multi));
    if (m_thread.joinable())
        m_thread.join();
    for (auto& [id, job] : m_active) {
        if (m_multi)
            curl_multi_remove_handle(multiOf(m_multi), job.transfer->handle());
    }
    m_active.clear();
    if (m_multi)
        curl_multi_cleanup(multiOf(m_multi));
}

void NetworkThread::enqueue(std::uint64_t id, HttpRequest request, Completion completion) {
    Job job;
    job.id = id;
    job.transfer = std::make_unique<CurlTransfer>(std::move(request),
                                                  CurlTransfer::ProgressDelivery::PostToMainLoop);
    job.completion = std::move(completion);
    if (!m_multi) {
        complete(job, job.transfer->failed("could not start the network"));
        return;
    }
    bool polling = false;
    {
        std::lock_guard lock(m_mutex);
        m_incoming.push_back(std::move(job));
        m_handedOver = true;
        polling = m_polling;
    }
    wake(polling);
}

void NetworkThread::cancel(std::uint64_t id) {
    bool polling = false;
    {
        std::lock_guard lock(m_mutex);
        m_cancelled.push_back(id);
        m_handedOver = true;
        polling = m_polling;
    }
    wake(polling);
}

// `polling` was read under the lock that the hand-over was made under: if the thread was not
// about to poll then, it looks at the hand-over before it sleeps, on the condition variable.
void NetworkThread::wake(bool polling) {
    if (!polling) {
        m_work.notify_one();
    } else if (m_multi) {
        curl_multi_wakeup(multiOf(m_multi));
    }
}

void NetworkThread::run() {
    while (true) {
        std::vector<Job> incoming;
        std::vector<std::uint64_t> cancelled;
        {
            const bool idle = m_active.empty();
            const auto idleSince = std::chrono::steady_clock::now();
            if (idle)
                m_idleLook.lookFor(m_handedOver);
            std::unique_lock lock(m_mutex);
            // With nothing in flight there is no socket to watch: a condition variable wakes
            // the thread for the next request sooner than curl's wake-up pipe does.
            if (idle) {
                m_work.wait(lock, [this] { return m_handedOver.load(); });
                m_idleLook.record(std::chrono::steady_clock::now() - idleSince);
            }
            if (m_stopping)
                return;
            incoming.swap(m_incoming);
            cancelled.swap(m_cancelled);
            m_handedOver = false;
        }
        // New requests first, so that a cancellation handed over with its request finds it.
        for (auto& job : incoming) start(std::move(job));
        for (auto id : cancelled) {
            auto found = m_active.find(id);
            if (found == m_active.end())
                continue;
            Job job = std::move(found->second);
            m_active.erase(found);
            curl_multi_remove_handle(multiOf(m_multi), job.transfer->handle());
            complete(job, job.transfer->failed("cancelled"));
        }
        int running = 0;
        curl_multi_perform(multiOf(m_multi), &running);
        finishDone();
        if (m_active.empty())
            continue;
        {
            std::lock_guard lock(m_mutex);
            if (m_handedOver)
                continue;
            m_polling = true;
        }
        curl_multi_poll(multiOf(m_multi), nullptr, 0, kPollMilliseconds, nullptr);
        std::lock_guard lock(m_mutex);
        m_polling = false;
    }
}

void NetworkThread::start(Job job) {
    if (!job.transfer->prepare()) {
        complete(job, job.transfer->failed(job.transfer->setUpError()));
        return;
    }
    CURL* easy = job.transfer->handle();
    curl_easy_setopt(easy, CURLOPT_PRIVATE,
                     reinterpret_cast<char*>(static_cast<std::uintptr_t>(job.id)));
    if (curl_multi_add_handle(multiOf(m_multi), easy) != CURLM_OK) {
        complete(job, job.transfer->failed("could not start a network request"));
        return;
    }
    std::uint64_t id = job.id;
    m_active.emplace(id, std::move(job));
}

void NetworkThread::finishDone() {
    int waiting = 0;
    while (CURLMsg* message = curl_multi_info_read(multiOf(m_multi), &waiting)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        CURL* easy = message->easy_handle;
        CURLcode result = message->data.result;
        char* tag = nullptr;
        curl_easy_getinfo(easy, CURLINFO_PRIVATE, &tag);
        auto id = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(tag));
        curl_multi_remove_handle(multiOf(m_multi), easy);
        auto found = m_active.find(id);
        if (found == m_active.end())
            continue;
        Job job = std::move(found->second);
        m_active.erase(found);
        complete(job, job.transfer->finish(result));
    }
}

void NetworkThread::complete(Job& job, HttpResponse response) {
    if (!job.completion)
        return;
    RunLoop::main().post(
        [completion = std::move(job.completion), response = std::move(response)]() mutable {
            completion(std::move(response));
        });
}

}  // namespace platform
