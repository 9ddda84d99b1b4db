#include "fakes/ShareRoutes.h"

#include <array>
#include <stdexcept>

#include "platform/foundation/Crypto.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/JsonParse.h"

namespace fakes {

using platform::Json;

namespace {

constexpr std::string_view kIV = "qtlaw.k4/Ry+H961";

struct Route {
    std::array<std::string_view, 3> segments;  // "" ends the list
    int action;
};

// Longer routes first, so "share/auth_delete" is never read as "share/auth".
constexpr std::array<Route, 19> kRoutes{{
    {{"user", "profile", "get"}, 10},
    {{"user", "custom_account", ""}, 14},
    {{"comment", "add", ""}, 0},
    {{"comment", "get", ""}, 2},
    {{"comment", "binding", ""}, 6},
    {{"comment", "unbinding", ""}, 7},
    {{"like", "update", ""}, 1},
    {{"bar", "get", ""}, 3},
    {{"share", "add", ""}, 4},
    {{"share", "multi_add", ""}, 5},
    {{"share", "auth_delete", ""}, 8},
    {{"share", "auth", ""}, 9},
    {{"share", "userinfo", ""}, 11},
    {{"share", "friends", ""}, 12},
    {{"share", "follow", ""}, 13},
    {{"share", "token", ""}, 15},
    {{"share", "keysecret", ""}, 16},  // 19 when posted
    {{"share", "validate_token", ""}, 17},
    {{"app", "oper", ""}, 18},
}};

std::string cipherKey(std::string_view appKey) {
    return platform::hexEncode(platform::md5Digest(appKey), true).substr(0, 16);
}

std::vector<std::string> segmentsOf(std::string_view path) {
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = path.find('/', start);
        const auto piece = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (!piece.empty())
            segments.emplace_back(piece);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return segments;
}

// The action and the application key of a path below the prefix.
std::pair<int, std::string> routeOf(std::string_view path, const std::string& method) {
    const auto segments = segmentsOf(path);
    for (const Route& route : kRoutes) {
        std::size_t length = 0;
        while (length < route.segments.size() && !route.segments[length].empty()) ++length;
        if (segments.size() <= length)
            continue;
        bool matches = true;
        for (std::size_t i = 0; i < length; ++i)
            matches = matches && segments[i] == route.segments[i];
        if (!matches)
            continue;
        const int action = route.action == 16 && method == "POST" ? 19 : route.action;
        return {action, segments[length]};
    }
    return {-1, {}};
}

std::vector<std::pair<std::string, std::string>> splitQuery(std::string_view query) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t start = 0;
    while (start < query.size()) {
        auto end = query.find('&', start);
        if (end == std::string_view::npos)
            end = query.size();
        const auto pair = query.substr(start, end - start);
        const auto equals = pair.find('=');
        if (equals == std::string_view::npos)
            pairs.emplace_back(std::string(pair), "");
        else
            pairs.emplace_back(std::string(pair.substr(0, equals)),
                               std::string(pair.substr(equals + 1)));
        start = end + 1;
    }
    return pairs;
}

Reply plainError(int status, const std::string& message) {
    Reply reply;
    reply.status = status;
    reply.body = Json{{"error", message}}.dump(-1, ' ', false, Json::error_handler_t::replace);
    return reply;
}

const Json& memberOr(const Json& object, const char* key) {
    static const Json empty = Json::object();
    const auto it = object.find(key);
    return it == object.end() ? empty : *it;
}

// The callback address of each platform that signs in through web pages.
constexpr std::pair<std::string_view, std::string_view> kCallbacks[] = {{"qzone", "/qzone/main"},
                                                                        {"tencent", "/tenc2/main"},
                                                                        {"renren", "/renr2/main"},
                                                                        {"douban", "/douban/main"}};

Reply htmlPage(std::string body) {
    Reply page;
    page.contentType = "text/html; charset=utf-8";
    page.body = std::move(body);
    return page;
}

// The sign-in page of a platform, as the platform's own pages would be: signing the demo user
// in ends at the platform's callback address with a token, refusing ends there without one.
Reply signInPage(const ShareServiceRequest& request) {
    const std::string platform = request.queryValue("via").value_or("");
    std::string callback;
    for (const auto& [name, path] : kCallbacks) {
        if (platform == name)
            callback = path;
    }
    if (callback.empty())
        return plainError(404, "no sign-in page for platform \"" + platform + "\"");
    const std::string target = callback + "?access_key=demo-token-" + platform +
                               "&uid=" + (platform == "qzone" ? "qz-550121" : "demo-" + platform) +
                               "&expires_in=3600";
    return htmlPage(
        "<html><head><title>账号登录</title></head><body>"
        "<h1>登录 " +
        platform +
        "</h1><p>兰溪同学</p>"
        "<button id=\"signin\" onclick=\"location.href='" +
        target +
        "'\">授权并登录</button>"
        "<button id=\"deny\" onclick=\"location.href='" +
        callback +
        "?error=access_denied'\">拒绝</button>"
        "<a href=\"" +
        std::string(ShareRoutes::kSitePrefix) + platform +
        "/switch\">其他账号登录</a></body></html>");
}

// The sample's friends, their avatar paths made addresses on this server.
// Pictures of the sample are paths on this server: each entry's field at the field `key`
// becomes an address on the host the request came to.
Json withPicturesOn(const Json& entries, const char* key, const std::string& host) {
    Json placed = entries.is_object() ? entries : Json::object();
    for (auto& [name, fields] : placed.items()) {
        if (!fields.is_object())
            continue;
        const auto picture = fields.find(key);
        if (picture != fields.end() && picture->is_string() && !host.empty() &&
            picture->get<std::string>().starts_with("/"))
            *picture = "http://" + host + picture->get<std::string>();
    }
    return placed;
}

Json friendsOf(const Json& sample, const std::string& host) {
    return withPicturesOn(sample, "profile_image_url", host);
}

Json profileOf(const Json& sample, const std::string& host) {
    Json profile = sample.is_object() ? sample : Json::object();
    if (const auto accounts = profile.find("accounts"); accounts != profile.end())
        *accounts = withPicturesOn(*accounts, "icon", host);
    return profile;
}

}  // namespace

std::optional<std::string> ShareServiceRequest::queryValue(std::string_view key) const {
    for (const auto& [name, value] : query) {
        if (name == key)
            return value;
    }
    return std::nullopt;
}

bool ShareRoutes::isPlatformSite(std::string_view path) {
    if (path.starts_with(kSitePrefix))
        return true;
    for (const auto& [name, callback] : kCallbacks) {
        if (path == callback)
            return true;
    }
    return false;
}

ShareRoutes::ShareRoutes(const std::filesystem::path& sampleDirectory) {
    const auto file = sampleDirectory / "share-service.json";
    const auto text = platform::readFile(file);
    if (!text)
        throw std::runtime_error("share service sample missing: " + file.string());
    auto sample = platform::parseJson(*text);
    if (!sample || !sample->is_object())
        throw std::runtime_error("share service sample is not a JSON object: " + file.string());
    m_sample = std::move(*sample);
}

std::string ShareRoutes::seal(std::string_view appKey, std::string_view text) {
    std::string padded(text);
    padded.resize((text.size() / 16 + 1) * 16, '\0');
    const auto cipher = platform::aes128CbcEncryptBlocks(cipherKey(appKey), kIV, padded);
    return cipher ? platform::base64Encode(*cipher) : std::string();
}

std::optional<std::string> ShareRoutes::open(std::string_view appKey, std::string_view base64) {
    const auto cipher = platform::base64Decode(base64);
    if (!cipher)
        return std::nullopt;
    auto plain = platform::aes128CbcDecryptBlocks(cipherKey(appKey), kIV, *cipher);
    if (!plain)
        return std::nullopt;
    while (!plain->empty() && plain->back() == '\0') plain->pop_back();
    return plain;
}

Reply ShareRoutes::answer(const RecordedRequest& recorded) {
    if (!recorded.path.starts_with(kPrefix)) {
        if (recorded.path.starts_with(kSitePrefix)) {
            Reply down;
            down.contentType = "text/html; charset=utf-8";
            down.dropConnection = true;
            return down;
        }
        // A callback that reaches the server carried no account (the SDK keeps those that do).
        return htmlPage(
            "<html><head><title>授权未完成</title></head><body>"
            "<p>没有授权，分享服务未收到账号。</p></body></html>");
    }
    ShareServiceRequest request;
    request.method = recorded.method;
    request.path = recorded.path.substr(kPrefix.size());
    request.host = recorded.header("Host").value_or("");
    std::tie(request.action, request.appKey) = routeOf(request.path, recorded.method);

    // The query's Base64 travels unescaped ("+", "/", "="), so it is read from the raw target.
    if (const auto mark = recorded.target.find("?ud_get="); mark != std::string::npos) {
        const auto opened = open(request.appKey, recorded.target.substr(mark + 8));
        if (opened)
            request.query = splitQuery(*opened);
        else
            request.error = "ud_get does not open";
    }
    if (recorded.method == "POST") {
        std::optional<std::string> sealed;
        if (!recorded.parts.empty()) {
            for (const auto& part : recorded.parts) {
                if (part.name == "ud_post" && part.filename.empty())
                    sealed = part.data;
                else
                    request.files.push_back(part);
            }
        } else {
            for (const auto& [name, value] : decodeQuery("?" + recorded.body)) {
                if (name == "ud_post")
                    sealed = value;
            }
        }
        if (!sealed) {
            request.error = "no ud_post";
        } else if (const auto opened = open(request.appKey, *sealed)) {
            auto body = platform::parseJson(*opened);
            if (body)
                request.body = std::move(*body);
            else
                request.error = "ud_post is not JSON";
        } else {
            request.error = "ud_post does not open";
        }
    }
    Reply answer = reply(request);
    std::lock_guard lock(m_mutex);
    m_requests.push_back(std::move(request));
    return answer;
}

Reply ShareRoutes::reply(const ShareServiceRequest& request) {
    if (request.action < 0)
        return plainError(404, "no such share service path: " + request.path);
    if (!request.error.empty())
        return plainError(400, request.error);
    Json reply{{"st", 200}, {"msg", "ok"}};
    switch (request.action) {
        case 3: {
            Json bar = memberOr(m_sample, "bar");
            const std::string descriptor = request.queryValue("dc").value_or("");
            int session = 0;
            {
                std::lock_guard lock(m_mutex);
                session = ++m_sessions;
            }
            bar["sid"] = "sid-" + std::to_string(session);
            bar["ek"] = "ek-" + platform::md5Hex(descriptor).substr(0, 12);
            reply["data"] = std::move(bar);
            break;
        }
        case 9:
            return signInPage(request);
        case 5:
            reply["data"] = memberOr(m_sample, "share");
            break;
        case 10:
            reply["data"] = profileOf(memberOr(m_sample, "profile"), request.host);
            break;
        case 12:
            reply["data"] = friendsOf(memberOr(m_sample, "friends"), request.host);
            break;
        case 16:
            reply["data"] = memberOr(m_sample, "appInfo");
            break;
        case 13:  // a follow: taken as asked
        case 18:
            break;
        default:
            return plainError(404, "the demo share service does not answer action " +
                                       std::to_string(request.action));
    }
    Reply sealed;
    // Sealed text does not compress, and a type the server leaves uncompressed spares each
    // reply a compressor's set-up.
    sealed.contentType = "application/octet-stream";
    sealed.body = seal(request.appKey, reply.dump(-1, ' ', false, Json::error_handler_t::replace));
    return sealed;
}

std::vector<ShareServiceRequest> ShareRoutes::requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void ShareRoutes::clearRequests() {
    std::lock_guard lock(m_mutex);
    m_requests.clear();
}

}  // namespace fakes
