#include "client/NetTool.h"

#include <array>
#include <optional>

#include "client/ServiceConfig.h"
#include "platform/foundation/JsonParse.h"
#include "platform/foundation/Log.h"
#include "platform/net/HttpClient.h"
#include "platform/net/Reachability.h"

using platform::HttpClient;
using platform::HttpRequest;
using platform::HttpResponse;
using platform::Json;

namespace {

constexpr std::array<std::string_view, 5> kAcceptedTypes = {
    "application/json", "text/json", "text/javascript", "text/plain", "text/html"};

std::string paramText(const Json& value) {
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_null())
        return "";
    return value.dump();
}

std::vector<std::pair<std::string, std::string>> paramPairs(const Json& params) {
    std::vector<std::pair<std::string, std::string>> pairs;
    if (!params.is_object())
        return pairs;
    for (const auto& [key, value] : params.items()) pairs.emplace_back(key, paramText(value));
    return pairs;
}

// `shown` is the address as an error may give it (secret arguments masked).
void send(HttpRequest request, std::string shown, NetSuccessBlock success,
          NetFailureBlock failure) {
    HttpClient::shared().send(
        std::move(request), [url = std::move(shown), success = std::move(success),
                             failure = std::move(failure)](HttpResponse response) {
            if (!response.error.empty()) {
                if (failure)
                    failure(NetError{0, response.error, url});
                return;
            }
            Json reply;
            std::string whyNot;
            // The body is given up to the decoding, which lets go of it as soon as it has been
            // read, so that a large reply is not held twice (text and document) while the
            // document is built or the screen fills its records.
            bool decoded = decodeJSONReply(response.status, response.mimeType(),
                                           std::move(response.body), reply, whyNot);
            if (!decoded) {
                if (failure)
                    failure(NetError{response.status, whyNot, url});
                return;
            }
            if (success)
                success(reply);
        });
}

}  // namespace

std::string describe(const NetError& error) {
    std::string text = error.message;
    if (error.status != 0)
        text += " (" + std::to_string(error.status) + ")";
    if (!error.url.empty())
        text += " " + error.url;
    return text;
}

namespace {

bool acceptable(int status, const std::string& mimeType, std::string& whyNot) {
    if (status < 200 || status > 299) {
        whyNot = "Request failed: unacceptable status";
        return false;
    }
    bool accepted = false;
    for (auto type : kAcceptedTypes) accepted = accepted || mimeType == type;
    if (!accepted) {
        whyNot = "Request failed: unacceptable content-type: " + mimeType;
        return false;
    }
    return true;
}

bool take(std::optional<Json> parsed, Json& out, std::string& whyNot) {
    if (!parsed) {
        whyNot = "JSON text did not parse";
        out = nullptr;
        return false;
    }
    out = std::move(*parsed);
    return true;
}

}  // namespace

// A reply nested deeper than any real one is refused by the parser, before anything copies or
// stores it.
bool decodeJSONReply(int status, const std::string& mimeType, const std::string& body, Json& out,
                     std::string& whyNot) {
    return acceptable(status, mimeType, whyNot) && take(platform::parseJson(body), out, whyNot);
}

bool decodeJSONReply(int status, const std::string& mimeType, std::string&& body, Json& out,
                     std::string& whyNot) {
    return acceptable(status, mimeType, whyNot) &&
           take(platform::parseJsonText(std::move(body)), out, whyNot);
}

NetTool& NetTool::shareInstance() {
    static NetTool instance;
    return instance;
}

void NetTool::getWithURL(const ServiceURL& url, NetSuccessBlock success, NetFailureBlock failure) {
    HttpRequest request;
    request.url = url.url;
    send(std::move(request), url.shown, std::move(success), std::move(failure));
}

void NetTool::postWithURL(const ServiceURL& url, NetSuccessBlock success, NetFailureBlock failure) {
    HttpRequest request;
    request.method = "POST";
    request.url = url.url;
    send(std::move(request), url.shown, std::move(success), std::move(failure));
}

void NetTool::postWithURL(const ServiceURL& url, const Json& params, NetSuccessBlock success,
                          NetFailureBlock failure) {
    HttpRequest request;
    request.method = "POST";
    request.url = url.url;
    request.headers.emplace_back("Content-Type",
                                 "application/x-www-form-urlencoded; charset=utf-8");
    request.body = HttpClient::formEncode(paramPairs(params));
    send(std::move(request), url.shown, std::move(success), std::move(failure));
}

void NetTool::postWithURL(const ServiceURL& url, const Json& params,
                          const std::vector<FormDataItem>& formDataArray, NetSuccessBlock success,
                          NetFailureBlock failure) {
    HttpRequest request;
    request.method = "POST";
    request.url = url.url;
    for (auto& [name, value] : paramPairs(params)) request.parts.push_back({name, "", "", value});
    for (const auto& item : formDataArray)
        request.parts.push_back({item.name, item.filename, item.mimeType, item.data});
    send(std::move(request), url.shown, std::move(success), std::move(failure));
}

bool NetTool::isConnectionAvailable() const {
    return platform::Reachability::forHost(ServiceConfig::shared().reachabilityHost) !=
           platform::NetworkStatus::NotReachable;
}

bool NetTool::IsEnableWiFi() const {
    return platform::Reachability::forLocalWiFi() != platform::NetworkStatus::NotReachable;
}

bool NetTool::IsEnable3G() const {
    return platform::Reachability::forInternetConnection() != platform::NetworkStatus::NotReachable;
}

bool NetTool::isConnect() {
    HttpRequest request;
    request.url = ServiceConfig::shared().probeURL;
    request.timeoutSeconds = 5;
    request.ignoreCache = true;
    HttpResponse response = HttpClient::shared().sendSync(request);
    bool connected = response.status != 0;
    platform::log(connected ? "网络是通的" : "没有网络");
    return connected;
}
