#include "platform/net/HttpClient.h"

#include <curl/curl.h>

#include "platform/foundation/RunLoop.h"
#include "platform/net/CurlTransfer.h"
#include "platform/net/NetworkThread.h"

namespace platform {

HttpClient& HttpClient::shared() {
    // Touching the main loop first makes it outlive this client at exit, so the network thread
    // can still post while it is being stopped.
    RunLoop::main();
    static HttpClient instance;
    return instance;
}

HttpClient::HttpClient() {
    ensureCurlInitialised();
}

// Stops and joins the network thread as the process ends.
HttpClient::~HttpClient() = default;

NetworkThread& HttpClient::network() {
    std::call_once(m_networkStarted, [this] { m_network = std::make_unique<NetworkThread>(); });
    return *m_network;
}

HttpClient::RequestId HttpClient::send(HttpRequest request,
                                       std::function<void(HttpResponse)> completion) {
    RequestId id = m_nextId.fetch_add(1);
    // The mark counts the request until the completion has run, or until the completion is
    // dropped unrun (the loop reset, the process ending): whichever lets go of it first.
    m_inFlight->fetch_add(1);
    auto mark =
        std::shared_ptr<void>(nullptr, [count = m_inFlight](void*) { count->fetch_sub(1); });
    network().enqueue(id, std::move(request),
                      [completion = std::move(completion), mark = std::move(mark),
                       expected = RunLoop::main().expectPost()](HttpResponse response) mutable {
                          if (completion)
                              completion(std::move(response));
                          mark.reset();
                      });
    return id;
}

HttpResponse HttpClient::sendSync(const HttpRequest& request) {
    return sendSync(HttpRequest(request));
}

HttpResponse HttpClient::sendSync(HttpRequest&& request) {
    auto delivery = RunLoop::main().isCurrent() ? CurlTransfer::ProgressDelivery::CallDirectly
                                                : CurlTransfer::ProgressDelivery::PostToMainLoop;
    CurlTransfer transfer(std::move(request), delivery);
    if (!transfer.prepare())
        return transfer.failed(transfer.setUpError());
    return transfer.finish(curl_easy_perform(transfer.handle()));
}

void HttpClient::keepToLoopback(std::function<void(const std::string& url)> onRefused) {
    keepTransfersToLoopback(std::move(onRefused));
}

void HttpClient::cancel(RequestId id) {
    network().cancel(id);
}

std::string HttpClient::formEncode(const std::vector<std::pair<std::string, std::string>>& params) {
    ensureCurlInitialised();
    auto escape = [](const std::string& text) {
        char* escaped = curl_easy_escape(nullptr, text.data(), static_cast<int>(text.size()));
        std::string result = escaped ? escaped : "";
        curl_free(escaped);
        return result;
    };
    std::string encoded;
    for (const auto& [name, value] : params) {
        if (!encoded.empty())
            encoded += '&';
        encoded += escape(name);
        encoded += '=';
        encoded += escape(value);
    }
    return encoded;
}

}  // namespace platform
