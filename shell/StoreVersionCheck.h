#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/foundation/Json.h"

namespace platform {
struct HttpResponse;
}  // namespace platform

// The launch's question to the store: is a version other than the installed one on offer?
// The lookup runs on the network thread with a time-out of its own, so the first news page
// never waits for the store, and the answer comes back on the main loop.
namespace StoreVersionCheck {

// A store that has not answered by then will not be waited for any longer.
inline constexpr double kTimeoutSeconds = 10;
// Installs are never told about this version, whatever they run.
inline constexpr const char* kUnannouncedVersion = "2.0.4";

// The store lookup of this app: "/lookup?id=" and the app's identifier at the store.
std::string lookupURL();

// The decision on one reply: the "results" array to announce, or nothing when the lookup
// failed, the reply is not a JSON object, "resultCount" is 0 or not a count, "results" has
// no usable first record, or that record offers the installed version or the unannounced one.
std::optional<platform::Json> offerFromReply(const platform::HttpResponse& response,
                                             const std::string& installedVersion);

// Sends the lookup (a POST without body) and, when the store offers another version, calls
// `announce` with the "results" array on the main loop. Nothing else is ever reported.
void lookUp(const std::string& installedVersion,
            std::function<void(const platform::Json& results)> announce);

}  // namespace StoreVersionCheck
