#pragma once

#include <curl/curl.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/net/HttpRequest.h"
#include "platform/net/HttpResponse.h"

namespace platform {

// Makes curl's process-wide set-up happen exactly once, before any handle exists.
void ensureCurlInitialised();

// From now on every transfer whose address does not name a loopback host is refused before
// anything is resolved (see HttpClient::keepToLoopback).
void keepTransfersToLoopback(std::function<void(const std::string& url)> onRefused);

// One request on its own curl easy handle: sets the handle up from an HttpRequest and collects
// what comes back. Used by the network thread and, directly, by synchronous calls.
class CurlTransfer {
public:
    enum class ProgressDelivery { PostToMainLoop, CallDirectly };

    CurlTransfer(HttpRequest request, ProgressDelivery delivery);
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    // Returns false for an address that is not a web one (http or https, written out), a host
    // that is refused, or when curl could not give a handle; setUpError() says which.
    bool prepare();
    const std::string& setUpError() const { return m_setUpError; }
    CURL* handle() const { return m_easy; }
    const HttpRequest& request() const { return m_request; }

    // The response after curl finished with this result.
    HttpResponse finish(CURLcode result);
    // A response that never reached the server (set-up failure, cancellation).
    HttpResponse failed(std::string error) const;

private:
    static size_t onBody(char* data, size_t size, size_t count, void* self);
    static size_t onHeader(char* data, size_t size, size_t count, void* self);
    static int onProgress(void* self, curl_off_t downloadTotal, curl_off_t downloaded,
                          curl_off_t uploadTotal, curl_off_t uploaded);
    void sizeBodyFromHeader();
    void setMethodAndBody();
    void setHeaders();
    void reportProgress(std::int64_t sent, std::int64_t total);

    HttpRequest m_request;
    ProgressDelivery m_delivery;
    CURL* m_easy{nullptr};
    curl_mime* m_mime{nullptr};
    curl_slist* m_headerList{nullptr};
    std::array<char, CURL_ERROR_SIZE> m_errorText{};
    std::string m_setUpError{"could not create a network request"};
    std::string m_body;
    bool m_bodySized{false};
    bool m_bodyTooLarge{false};
    std::vector<std::pair<std::string, std::string>> m_headers;
    std::int64_t m_lastReportedSent{-1};
    std::chrono::steady_clock::time_point m_lastReportTime{};
};

}  // namespace platform
