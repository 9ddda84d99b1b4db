#include "shell/StoreVersionCheck.h"

#include "client/ServiceConfig.h"
#include "platform/foundation/JsonParse.h"
#include "platform/net/HttpClient.h"
#include "shell/StoreRecord.h"

namespace StoreVersionCheck {

namespace {

constexpr const char* kLookupPath = "/lookup?id=";

}  // namespace

std::string lookupURL() {
    const auto& config = ServiceConfig::shared();
    return config.storeLookupRoot + kLookupPath + config.storeAppId;
}

std::optional<platform::Json> offerFromReply(const platform::HttpResponse& response,
                                             const std::string& installedVersion) {
    if (!response.ok())
        return std::nullopt;
    // Any JSON value parses, a bare fragment included; only an object is a lookup reply.
    const auto parsed = platform::parseJson(response.body);
    if (!parsed || !parsed->is_object())
        return std::nullopt;
    const platform::Json& reply = *parsed;
    const auto count = reply.find("resultCount");
    if (count == reply.end() || storeInteger(*count) == 0)
        return std::nullopt;
    const auto results = reply.find("results");
    if (results == reply.end())
        return std::nullopt;
    const auto record = StoreRecord::firstOf(*results);
    if (!record || record->version == installedVersion || record->version == kUnannouncedVersion)
        return std::nullopt;
    return *results;
}

void lookUp(const std::string& installedVersion,
            std::function<void(const platform::Json& results)> announce) {
    platform::HttpRequest request;
    request.method = "POST";
    request.url = lookupURL();
    request.timeoutSeconds = kTimeoutSeconds;
    platform::HttpClient::shared().send(
        std::move(request),
        [installedVersion, announce = std::move(announce)](const platform::HttpResponse& response) {
            if (!announce)
                return;
            if (auto results = offerFromReply(response, installedVersion))
                announce(*results);
        });
}

}  // namespace StoreVersionCheck
