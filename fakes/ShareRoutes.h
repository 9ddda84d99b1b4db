#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fakes/RecordedRequest.h"
#include "fakes/Reply.h"
#include "platform/foundation/Json.h"

namespace fakes {

// One request to the fake share service as it read it: the envelope opened with the key of
// the application key in the path, so tests assert on the fields that arrived.
struct ShareServiceRequest {
    int action = -1;  // the action the path names; -1 for a path the service does not know
    std::string method;
    std::string path;  // below the service's prefix, as sent ("/share/keysecret/AK/" keeps its "/")
    std::string appKey;
    std::vector<std::pair<std::string, std::string>> query;  // the opened "ud_get", in order
    platform::Json body;              // the opened "ud_post" JSON; null without one
    std::vector<ReceivedPart> files;  // file parts beside "ud_post"
    std::string error;                // why the request could not be read; "" when it could
    std::string host;                 // the Host header it came with

    std::optional<std::string> queryValue(std::string_view key) const;
};

// The share service of the demo: every request below "/share/" is opened with the share
// envelope (AES-128-CBC over zero-padded text, key from the application key's MD5, Base64),
// logged, and answered in the same envelope from the sample "share-service.json": the bar
// (action 3), the user's accounts (10) and friends on a platform (12; their picture paths in
// the sample become addresses on this server), the application's platform keys (16), a share to
// several platforms (5), a follow (13) and the usage counters (18); the sign-in address (9)
// answers with a platform's sign-in page. Other actions get HTTP 404, a request that cannot be
// opened HTTP 400. Safe to call from several server threads at once.
//
// The platforms' own sites stand beside it on the same host: a sign-in page's "授权并登录"
// ends at the platform's callback address with the demo user's token, "拒绝" at the callback
// address without one (which then shows a page saying so), and the link "其他账号登录" leads
// to the platform's account site, which is down: its connection closes before any page.
class ShareRoutes {
public:
    static constexpr std::string_view kPrefix = "/share/";
    // The platforms' account sites (down in the demo).
    static constexpr std::string_view kSitePrefix = "/signin-site/";

    // Throws std::runtime_error when the sample file is missing or not a JSON object.
    explicit ShareRoutes(const std::filesystem::path& sampleDirectory);

    static bool handles(std::string_view path) {
        return path.starts_with(kPrefix) || isPlatformSite(path);
    }
    // A platform's callback address or account site (not recorded as a share request).
    static bool isPlatformSite(std::string_view path);
    Reply answer(const RecordedRequest& request);

    std::vector<ShareServiceRequest> requests() const;
    void clearRequests();

    // The envelope, written here from the description of the wire, not from the SDK.
    static std::string seal(std::string_view appKey, std::string_view text);
    static std::optional<std::string> open(std::string_view appKey, std::string_view base64);

private:
    Reply reply(const ShareServiceRequest& request);

    platform::Json m_sample;
    mutable std::mutex m_mutex;
    std::vector<ShareServiceRequest> m_requests;
    int m_sessions = 0;
};

}  // namespace fakes
