#include "platform/foundation/CookieStorage.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <optional>

#include "platform/foundation/AsciiText.h"

namespace platform {

namespace {

bool sameCookie(const Cookie& a, const Cookie& b) {
    return a.domain == b.domain && a.path == b.path && a.name == b.name;
}

struct Address {
    bool secure = false;
    std::string host;
    std::string path = "/";
};

std::optional<Address> addressOf(const std::string& url) {
    const auto scheme = url.find("://");
    if (scheme == std::string::npos)
        return std::nullopt;
    Address address;
    const std::string protocol = lowercasedAscii(std::string_view(url).substr(0, scheme));
    if (protocol != "http" && protocol != "https")
        return std::nullopt;
    address.secure = protocol == "https";
    const auto hostStart = scheme + 3;
    const auto hostEnd = url.find_first_of("/?#", hostStart);
    std::string authority = url.substr(
        hostStart, hostEnd == std::string::npos ? std::string::npos : hostEnd - hostStart);
    if (auto at = authority.rfind('@'); at != std::string::npos)
        authority = authority.substr(at + 1);
    if (auto colon = authority.rfind(':');
        colon != std::string::npos && authority.find(']', colon) == std::string::npos)
        authority = authority.substr(0, colon);
    address.host = lowercasedAscii(authority);
    if (address.host.empty())
        return std::nullopt;
    if (hostEnd != std::string::npos && url[hostEnd] == '/') {
        const auto pathEnd = url.find_first_of("?#", hostEnd);
        address.path = url.substr(
            hostEnd, pathEnd == std::string::npos ? std::string::npos : pathEnd - hostEnd);
    }
    return address;
}

// The cookie's default path: the request path up to its last slash (RFC 6265, 5.1.4).
std::string defaultPath(const std::string& path) {
    if (path.empty() || path.front() != '/')
        return "/";
    const auto slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool domainCovers(const std::string& domain, const std::string& host) {
    if (domain.empty())
        return false;
    if (domain.front() != '.')
        return host == domain;
    const std::string bare = domain.substr(1);
    return host == bare || (host.size() > domain.size() &&
                            host.compare(host.size() - domain.size(), domain.size(), domain) == 0);
}

bool pathCovers(const std::string& cookiePath, const std::string& path) {
    if (path == cookiePath)
        return true;
    if (path.compare(0, cookiePath.size(), cookiePath) != 0)
        return false;
    return cookiePath.back() == '/' ||
           (path.size() > cookiePath.size() && path[cookiePath.size()] == '/');
}

// An HTTP date ("Wed, 21 Oct 2026 07:28:00 GMT", and the older forms with dashes).
std::optional<std::chrono::system_clock::time_point> parseDate(std::string_view text) {
    static const char* kFormats[] = {"%a, %d %b %Y %H:%M:%S GMT", "%a, %d-%b-%Y %H:%M:%S GMT",
                                     "%a, %d-%b-%y %H:%M:%S GMT", "%a %b %d %H:%M:%S %Y"};
    const std::string value(text);
    for (const char* format : kFormats) {
        std::tm parts{};
        const char* end = strptime(value.c_str(), format, &parts);
        if (end && *end == '\0')
            return std::chrono::system_clock::from_time_t(timegm(&parts));
    }
    return std::nullopt;
}

bool expiredAt(const Cookie& cookie, std::chrono::system_clock::time_point now) {
    return cookie.expires != std::chrono::system_clock::time_point{} && cookie.expires <= now;
}

}  // namespace

CookieStorage& CookieStorage::shared() {
    static CookieStorage storage;
    return storage;
}

bool CookieStorage::setCookie(const Cookie& cookie) {
    if (cookie.name.empty())
        return false;
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_cookies, [&](const Cookie& c) { return sameCookie(c, cookie); });
        m_cookies.push_back(cookie);
    }
    notify(cookie, false);
    return true;
}

std::vector<Cookie> CookieStorage::cookies() const {
    std::lock_guard lock(m_mutex);
    return m_cookies;
}

void CookieStorage::deleteCookie(const Cookie& cookie) {
    bool found = false;
    {
        std::lock_guard lock(m_mutex);
        found =
            std::erase_if(m_cookies, [&](const Cookie& c) { return sameCookie(c, cookie); }) > 0;
    }
    if (found)
        notify(cookie, true);
}

bool CookieStorage::setFromHeader(std::string_view header, const std::string& url,
                                  std::chrono::system_clock::time_point now) {
    const auto address = addressOf(url);
    if (!address)
        return false;
    const auto semicolon = header.find(';');
    const std::string_view pair = trimmedAscii(header.substr(0, semicolon));
    const auto equals = pair.find('=');
    if (equals == std::string_view::npos)
        return false;
    Cookie cookie;
    cookie.name = std::string(trimmedAscii(pair.substr(0, equals)));
    cookie.value = std::string(trimmedAscii(pair.substr(equals + 1)));
    if (cookie.name.empty() || cookie.name.find_first_of(" \t\r\n,;") != std::string::npos ||
        cookie.value.find_first_of("\r\n") != std::string::npos)
        return false;
    cookie.domain = address->host;
    cookie.path = defaultPath(address->path);
    std::optional<long long> maxAge;
    std::string_view rest =
        semicolon == std::string_view::npos ? std::string_view{} : header.substr(semicolon + 1);
    while (!rest.empty()) {
        const auto next = rest.find(';');
        const std::string_view attribute = trimmedAscii(rest.substr(0, next));
        rest = next == std::string_view::npos ? std::string_view{} : rest.substr(next + 1);
        const auto is = attribute.find('=');
        const std::string key = lowercasedAscii(trimmedAscii(attribute.substr(0, is)));
        const std::string_view value = is == std::string_view::npos
                                           ? std::string_view{}
                                           : trimmedAscii(attribute.substr(is + 1));
        if (key == "domain" && !value.empty()) {
            std::string domain = lowercasedAscii(value);
            if (domain.front() == '.')
                domain.erase(0, 1);
            // A domain must cover the host that sets it.
            if (!domainCovers("." + domain, address->host))
                return false;
            cookie.domain = "." + domain;
        } else if (key == "path" && !value.empty() && value.front() == '/') {
            cookie.path = std::string(value);
        } else if (key == "max-age") {
            const std::string digits(value);
            char* end = nullptr;
            const long long seconds = std::strtoll(digits.c_str(), &end, 10);
            if (!digits.empty() && end && *end == '\0')
                maxAge = seconds;
        } else if (key == "expires") {
            // The epoch itself (a common way to delete) must not read as "of the session".
            if (auto date = parseDate(value))
                cookie.expires =
                    std::max(*date, std::chrono::system_clock::time_point{std::chrono::seconds(1)});
        } else if (key == "secure") {
            cookie.secure = true;
        } else if (key == "httponly") {
            cookie.httpOnly = true;
        }
    }
    if (maxAge)
        cookie.expires = *maxAge <= 0
                             ? std::chrono::system_clock::time_point{std::chrono::seconds(1)}
                             : now + std::chrono::seconds(*maxAge);
    if (expiredAt(cookie, now)) {
        deleteCookie(cookie);
        return true;
    }
    return setCookie(cookie);
}

std::string CookieStorage::headerFor(const std::string& url,
                                     std::chrono::system_clock::time_point now) const {
    const auto address = addressOf(url);
    if (!address)
        return {};
    std::vector<Cookie> matching;
    {
        std::lock_guard lock(m_mutex);
        for (const Cookie& cookie : m_cookies) {
            if (domainCovers(cookie.domain, address->host) &&
                pathCovers(cookie.path, address->path) && (!cookie.secure || address->secure) &&
                !expiredAt(cookie, now))
                matching.push_back(cookie);
        }
    }
    // Longer paths first, as browsers send them.
    std::stable_sort(matching.begin(), matching.end(), [](const Cookie& a, const Cookie& b) {
        return a.path.size() > b.path.size();
    });
    std::string header;
    for (const Cookie& cookie : matching)
        header += (header.empty() ? "" : "; ") + cookie.name + "=" + cookie.value;
    return header;
}

std::uint64_t CookieStorage::addObserver(Observer observer) {
    std::lock_guard lock(m_mutex);
    const std::uint64_t id = m_nextObserver++;
    m_observers.emplace_back(id, std::move(observer));
    return id;
}

void CookieStorage::removeObserver(std::uint64_t id) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_observers, [id](const auto& entry) { return entry.first == id; });
}

void CookieStorage::notify(const Cookie& cookie, bool deleted) {
    std::vector<Observer> observers;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& entry : m_observers) observers.push_back(entry.second);
    }
    for (const auto& observer : observers) observer(cookie, deleted);
}

}  // namespace platform
