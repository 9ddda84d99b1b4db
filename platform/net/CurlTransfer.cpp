#include "platform/net/CurlTransfer.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/CookieStorage.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URLEscaping.h"
#include "platform/net/URLServer.h"

namespace platform {

namespace {

// Progress callbacks come many times a second on a fast link; the main loop needs far fewer.
constexpr auto kProgressInterval = std::chrono::milliseconds(50);

constexpr const char* kUserAgent = "campus-client/1.0";

constexpr long kMaxRedirects = 5;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() &&
           (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n'))
        s.remove_prefix(1);
    while (!s.empty() &&
           (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

// A header line must stay one line: stray line breaks would let a value inject headers.
std::string withoutLineBreaks(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c != '\r' && c != '\n' && c != '\0')
            out.push_back(c);
    }
    return out;
}

curl_slist* appendHeader(curl_slist* list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list, line.c_str());
    return grown ? grown : list;
}

// Whether the host is a loopback address by number: 127.x.x.x or [::1].
bool namesLoopbackHost(const std::string& host) {
    if (host == "[::1]")
        return true;
    in_addr address{};
    return inet_pton(AF_INET, host.c_str(), &address) == 1 && (ntohl(address.s_addr) >> 24) == 127;
}

std::mutex loopbackMutex;
// Set once a process keeps to loopback hosts; holds who hears of a refused address.
std::shared_ptr<const std::function<void(const std::string&)>> loopbackOnly;

// The refusal handler when transfers are kept to loopback hosts, else null.
std::shared_ptr<const std::function<void(const std::string&)>> loopbackPolicy() {
    std::lock_guard lock(loopbackMutex);
    return loopbackOnly;
}

}  // namespace

void keepTransfersToLoopback(std::function<void(const std::string& url)> onRefused) {
    std::lock_guard lock(loopbackMutex);
    loopbackOnly =
        std::make_shared<const std::function<void(const std::string&)>>(std::move(onRefused));
}

void ensureCurlInitialised() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlTransfer::CurlTransfer(HttpRequest request, ProgressDelivery delivery)
    : m_request(std::move(request)), m_delivery(delivery) {}

CurlTransfer::~CurlTransfer() {
    if (m_easy)
        curl_easy_cleanup(m_easy);
    if (m_mime)
        curl_mime_free(m_mime);
    if (m_headerList)
        curl_slist_free_all(m_headerList);
}

bool CurlTransfer::prepare() {
    ensureCurlInitialised();
    // Only web addresses, their scheme written out: curl would read one without it
    // ("sms:12345") as a host to look up and an "http" to guess. (No address at all fails in
    // curl as such.)
    const std::string_view url = m_request.url;
    if (!url.empty() && !equalsIgnoringCase(url.substr(0, 7), "http://") &&
        !equalsIgnoringCase(url.substr(0, 8), "https://")) {
        m_setUpError = "unsupported protocol: not a web address";
        return false;
    }
    // An address whose server cannot be read fails in curl without a lookup.
    const auto onRefused = loopbackPolicy();
    if (const auto server = onRefused ? urlServer(m_request.url) : std::nullopt;
        server && !namesLoopbackHost(server->host)) {
        m_setUpError = "refused: not a loopback host";
        if (*onRefused)
            (*onRefused)(m_request.url);
        return false;
    }
    m_easy = curl_easy_init();
    if (!m_easy)
        return false;

    curl_easy_setopt(m_easy, CURLOPT_URL, m_request.url.c_str());
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_ERRORBUFFER, m_errorText.data());
    // Only web requests: a URL from a server or a page must never read local files.
    curl_easy_setopt(m_easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    if (m_request.followRedirects) {
        curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 1L);
        // A few hops are all a service or page needs; more is a loop or a server playing games.
        curl_easy_setopt(m_easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    }
    // Each request gets its own connection, as each call had its own request manager; it also
    // keeps idle kept-alive connections from tying up the workers of small servers.
    curl_easy_setopt(m_easy, CURLOPT_FORBID_REUSE, 1L);
    // Compressed replies are decoded transparently, as the phone's stack does.
    curl_easy_setopt(m_easy, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(m_easy, CURLOPT_USERAGENT, kUserAgent);
    if (m_request.timeoutSeconds > 0 && std::isfinite(m_request.timeoutSeconds)) {
        long ms = std::max(1L, static_cast<long>(std::ceil(m_request.timeoutSeconds * 1000)));
        curl_easy_setopt(m_easy, CURLOPT_TIMEOUT_MS, ms);
        curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, ms);
    }
    // An early refusal when the server announces a larger body; the write callback counts the
    // decoded bytes whatever the server announces (curl reads 0 as "no limit").
    if (m_request.maxBodyBytes > 0)
        curl_easy_setopt(m_easy, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(m_request.maxBodyBytes));
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &CurlTransfer::onBody);
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_easy, CURLOPT_HEADERFUNCTION, &CurlTransfer::onHeader);
    curl_easy_setopt(m_easy, CURLOPT_HEADERDATA, this);
    if (m_request.uploadProgress) {
        curl_easy_setopt(m_easy, CURLOPT_XFERINFOFUNCTION, &CurlTransfer::onProgress);
        curl_easy_setopt(m_easy, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(m_easy, CURLOPT_NOPROGRESS, 0L);
    }
    setMethodAndBody();
    setHeaders();
    return true;
}

void CurlTransfer::setMethodAndBody() {
    const std::string method = m_request.method.empty() ? "GET" : m_request.method;
    if (!m_request.parts.empty()) {
        m_mime = curl_mime_init(m_easy);
        for (const auto& part : m_request.parts) {
            curl_mimepart* mimePart = curl_mime_addpart(m_mime);
            if (!mimePart)
                continue;
            curl_mime_name(mimePart, part.name.c_str());
            curl_mime_data(mimePart, part.data.data(), part.data.size());
            if (!part.filename.empty())
                curl_mime_filename(mimePart, part.filename.c_str());
            if (!part.contentType.empty())
                curl_mime_type(mimePart, part.contentType.c_str());
        }
        curl_easy_setopt(m_easy, CURLOPT_MIMEPOST, m_mime);
        // Parts always make a POST unless another body-carrying method was asked for.
        if (method != "POST" && method != "GET") {
            curl_easy_setopt(m_easy, CURLOPT_CUSTOMREQUEST, method.c_str());
        }
    } else if (method == "GET") {
        // A GET carries no body.
        curl_easy_setopt(m_easy, CURLOPT_HTTPGET, 1L);
    } else if (method == "HEAD") {
        curl_easy_setopt(m_easy, CURLOPT_NOBODY, 1L);
    } else {
        // An explicit size keeps binary bodies whole and makes an empty one "Content-Length: 0"
        // rather than chunked.
        curl_easy_setopt(m_easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(m_request.body.size()));
        curl_easy_setopt(m_easy, CURLOPT_POSTFIELDS, m_request.body.data());
        if (method != "POST") {
            curl_easy_setopt(m_easy, CURLOPT_CUSTOMREQUEST, method.c_str());
        }
    }
}

void CurlTransfer::setHeaders() {
    const bool multipart = !m_request.parts.empty();
    bool hasContentType = false;
    bool hasCookie = false;
    for (const auto& [rawName, rawValue] : m_request.headers) {
        std::string name = withoutLineBreaks(trimmed(rawName));
        std::string value = withoutLineBreaks(rawValue);
        if (name.empty() || name.find(':') != std::string::npos)
            continue;
        if (equalsIgnoringCase(name, "cookie"))
            hasCookie = true;
        if (equalsIgnoringCase(name, "content-type")) {
            // The multipart boundary lives in curl's own Content-Type.
            if (multipart)
                continue;
            hasContentType = true;
        }
        // "Name;" is curl's way of sending a header with an empty value.
        m_headerList = appendHeader(m_headerList, value.empty() ? name + ";" : name + ": " + value);
    }
    if (m_request.ignoreCache) {
        m_headerList = appendHeader(m_headerList, "Cache-Control: no-cache");
        m_headerList = appendHeader(m_headerList, "Pragma: no-cache");
    }
    // The process's one cookie jar, which the web view's pages share (curl leaves this header
    // out when a redirect goes to another host).
    if (!hasCookie) {
        if (const std::string cookies = CookieStorage::shared().headerFor(m_request.url);
            !cookies.empty())
            m_headerList = appendHeader(m_headerList, "Cookie: " + withoutLineBreaks(cookies));
    }
    // Servers that do not answer "100 Continue" would otherwise stall every larger upload.
    m_headerList = appendHeader(m_headerList, "Expect:");
    // curl labels any body as a form unless told otherwise; the body is sent as the caller
    // labelled it, or unlabelled.
    if (!multipart && !hasContentType)
        m_headerList = appendHeader(m_headerList, "Content-Type:");
    curl_easy_setopt(m_easy, CURLOPT_HTTPHEADER, m_headerList);
}

size_t CurlTransfer::onBody(char* data, size_t size, size_t count, void* self) {
    auto* transfer = static_cast<CurlTransfer*>(self);
    const size_t length = size * count;
    std::string& body = transfer->m_body;
    const std::int64_t room =
        transfer->m_request.maxBodyBytes - static_cast<std::int64_t>(body.size());
    if (static_cast<std::int64_t>(length) > room) {
        transfer->m_bodyTooLarge = true;
        std::string().swap(body);  // what came so far is of no use any more
        return 0;                  // anything but `length` makes curl end the transfer
    }
    if (!transfer->m_bodySized) {
        transfer->m_bodySized = true;
        transfer->sizeBodyFromHeader();
    }
    body.append(data, length);
    return length;
}

void CurlTransfer::sizeBodyFromHeader() {
    // One allocation of the announced size instead of doubling (which briefly holds 1.5 times
    // the body); only when the announcement is within the limit, so a lying server cannot make
    // the client allocate. For a compressed reply it is the compressed size, a lower bound.
    curl_off_t announced = -1;
    if (curl_easy_getinfo(m_easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced) == CURLE_OK &&
        announced > 0 && announced <= m_request.maxBodyBytes) {
        m_body.reserve(static_cast<size_t>(announced));
    }
}

size_t CurlTransfer::onHeader(char* data, size_t size, size_t count, void* self) {
    auto* transfer = static_cast<CurlTransfer*>(self);
    std::string_view line(data, size * count);
    auto& headers = transfer->m_headers;
    if (line.starts_with("HTTP/")) {
        // A new status line: an interim or redirect response came before; keep only the last.
        headers.clear();
    } else if (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        // A folded continuation of the previous header.
        if (!headers.empty()) {
            std::string_view more = trimmed(line);
            if (!more.empty())
                headers.back().second.append(" ").append(more);
        }
    } else if (auto colon = line.find(':'); colon != std::string_view::npos) {
        std::string name(trimmed(line.substr(0, colon)));
        std::transform(name.begin(), name.end(), name.begin(), lowerAscii);
        std::string value(trimmed(line.substr(colon + 1)));
        if (name == "set-cookie") {
            // Kept for the address that set it (a redirect's hop, when curl follows one).
            char* effective = nullptr;
            curl_easy_getinfo(transfer->m_easy, CURLINFO_EFFECTIVE_URL, &effective);
            CookieStorage::shared().setFromHeader(
                value, effective ? std::string(effective) : transfer->m_request.url);
        }
        headers.emplace_back(std::move(name), std::move(value));
    }
    return size * count;
}

int CurlTransfer::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t uploadTotal,
                             curl_off_t uploaded) {
    auto* transfer = static_cast<CurlTransfer*>(self);
    if (uploadTotal <= 0 || uploaded <= transfer->m_lastReportedSent)
        return 0;
    auto now = std::chrono::steady_clock::now();
    if (uploaded < uploadTotal && now - transfer->m_lastReportTime < kProgressInterval)
        return 0;
    transfer->m_lastReportedSent = uploaded;
    transfer->m_lastReportTime = now;
    transfer->reportProgress(uploaded, uploadTotal);
    return 0;
}

void CurlTransfer::reportProgress(std::int64_t sent, std::int64_t total) {
    if (m_delivery == ProgressDelivery::CallDirectly) {
        m_request.uploadProgress(sent, total);
        return;
    }
    RunLoop::main().post(
        [progress = m_request.uploadProgress, sent, total] { progress(sent, total); });
}

HttpResponse CurlTransfer::finish(CURLcode result) {
    if (result != CURLE_OK) {
        std::string text = m_errorText[0] ? std::string(m_errorText.data())
                                          : std::string(curl_easy_strerror(result));
        if (m_bodyTooLarge || result == CURLE_FILESIZE_EXCEEDED)
            text = "the reply is larger than the limit of " +
                   std::to_string(m_request.maxBodyBytes) + " bytes";
        HttpResponse response = failed(std::move(text));
        char* effective = nullptr;
        if (curl_easy_getinfo(m_easy, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK &&
            effective) {
            response.url = effective;
        }
        return response;
    }
    HttpResponse response;
    long status = 0;
    curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &status);
    response.status = static_cast<int>(status);
    char* effective = nullptr;
    curl_easy_getinfo(m_easy, CURLINFO_EFFECTIVE_URL, &effective);
    response.url = effective ? effective : m_request.url;
    response.headers = std::move(m_headers);
    if (!m_request.followRedirects) {
        char* target = nullptr;
        if (curl_easy_getinfo(m_easy, CURLINFO_REDIRECT_URL, &target) == CURLE_OK && target) {
            // curl resolves a relative Location against the address; an absolute one is kept as
            // the server wrote it, since curl would rewrite addresses of schemes it does not
            // know (a page's command address among them).
            const auto location = response.header("location");
            response.redirectURL = location && hasURLScheme(*location) ? *location : target;
        }
    }
    response.body = std::move(m_body);
    return response;
}

HttpResponse CurlTransfer::failed(std::string error) const {
    HttpResponse response;
    response.error = error.empty() ? "request failed" : std::move(error);
    response.url = m_request.url;
    return response;
}

}  // namespace platform
