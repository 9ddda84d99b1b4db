#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/net/HttpRequest.h"
#include "platform/net/HttpResponse.h"

namespace platform {

class NetworkThread;

// The one HTTP path of the process (libcurl). Asynchronous requests share one network thread;
// synchronous ones run on the caller's thread.
class HttpClient {
public:
    using RequestId = std::uint64_t;

    static HttpClient& shared();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Asynchronous: returns at once; the completion runs on platform::RunLoop::main() exactly
    // once (also for transport failures, time-outs and cancellation). An empty completion is fine.
    RequestId send(HttpRequest request, std::function<void(HttpResponse)> completion);
    // Synchronous, on the calling thread (any thread, including the main one). Upload progress
    // is reported directly when called on the main thread, posted to it otherwise.
    HttpResponse sendSync(const HttpRequest& request);
    // The same, taking the request over, so a large body is not copied.
    HttpResponse sendSync(HttpRequest&& request);
    // The completion then gets error "cancelled"; an id that already completed is ignored.
    void cancel(RequestId id);

    // Asynchronous requests sent whose completion has not yet run (or been dropped), so that
    // the terminal front end can wait for replies before it shows the screen. Thread-safe.
    std::size_t inFlight() const { return m_inFlight->load(); }

    // Keeps the process on this machine, for the test programs, whose only servers are fakes
    // on 127.0.0.1: from now on a request whose address names a host other than a loopback
    // one by number (127.x.x.x, [::1]) fails before anything is resolved or sent, with an error
    // starting "refused", and the handler hears of its address on the thread that sets the
    // request up. The address a request starts with is the one checked. A later call replaces
    // the handler.
    static void keepToLoopback(std::function<void(const std::string& url)> onRefused);

    // application/x-www-form-urlencoded, pairs in the order given.
    static std::string formEncode(const std::vector<std::pair<std::string, std::string>>& params);

private:
    HttpClient();
    NetworkThread& network();

    std::once_flag m_networkStarted;
    std::unique_ptr<NetworkThread> m_network;
    std::atomic<RequestId> m_nextId{1};
    // Shared with the marks of the requests, which may outlive the client at exit.
    std::shared_ptr<std::atomic<std::size_t>> m_inFlight{
        std::make_shared<std::atomic<std::size_t>>(0)};
};

}  // namespace platform
