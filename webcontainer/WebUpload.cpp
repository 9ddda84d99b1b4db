#include "webcontainer/WebUpload.h"

#include <chrono>
#include <mutex>

#include "platform/foundation/Dates.h"
#include "platform/foundation/UUID.h"
#include "platform/net/HttpClient.h"
#include "platform/net/HttpRequest.h"

namespace {

constexpr std::string_view kImagePartLine =
    "Content-Disposition: form-data;name=\"file\";filename=123.jpg\r\n";
constexpr std::string_view kVoicePartLine =
    "Content-Disposition: form-data;name=\"file\";filename=123.caf\r\n";
constexpr std::string_view kPartContentType = "Content-Type:application/octet-stream\r\n\r\n";

std::mutex& boundaryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& fixedBoundary() {
    static std::string boundary;
    return boundary;
}

}  // namespace

std::string webUploadBoundary() {
    {
        std::lock_guard lock(boundaryMutex());
        if (!fixedBoundary().empty())
            return fixedBoundary();
    }
    return "----------" +
           platform::formatDate(std::chrono::system_clock::now(), "yyyyMMddHHmmssSSS") + "-" +
           platform::makeUUIDString();
}

void setWebUploadBoundaryForTesting(std::string boundary) {
    std::lock_guard lock(boundaryMutex());
    fixedBoundary() = std::move(boundary);
}

std::string webUploadBody(WebUploadKind kind, std::string_view boundary, std::string_view bytes) {
    const std::string_view partLine =
        kind == WebUploadKind::Image ? kImagePartLine : kVoicePartLine;
    std::string body;
    body.reserve(2 + boundary.size() + 2 + partLine.size() + kPartContentType.size() +
                 bytes.size() + 4 + boundary.size() + 4);
    body.append("--").append(boundary).append("\r\n");
    body.append(partLine).append(kPartContentType);
    body.append(bytes);
    body.append("\r\n--").append(boundary).append("--\r\n");
    return body;
}

platform::HttpRequest webUploadRequest(const std::string& url, const std::string& boundary,
                                       std::string body) {
    platform::HttpRequest request;
    request.method = "POST";
    request.url = url;
    request.headers = {{"Content-Type", "multipart/form-data; boundary=" + boundary},
                       {"Connection", "Keep-Alive"},
                       {"Charset", "UTF-8"}};
    request.body = std::move(body);
    return request;
}

WebUploadOutcome sendWebUpload(const std::string& url, WebUploadKind kind, std::string_view bytes,
                               std::function<void(std::int64_t, std::int64_t)> progress) {
    const std::string boundary = webUploadBoundary();
    platform::HttpRequest request =
        webUploadRequest(url, boundary, webUploadBody(kind, boundary, bytes));
    request.uploadProgress = std::move(progress);
    platform::HttpResponse response = platform::HttpClient::shared().sendSync(std::move(request));
    WebUploadOutcome outcome;
    if (!response.error.empty())
        outcome.error = response.error;
    else if (!response.ok())
        outcome.error = "HTTP status " + std::to_string(response.status);
    else
        outcome.responseText = std::move(response.body);
    return outcome;
}
