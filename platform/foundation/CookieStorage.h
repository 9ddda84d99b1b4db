#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Cookie {
    // A host ("school.example") for a cookie of that host alone; with a leading dot
    // (".school.example") for one its subdomains share, as a Domain attribute makes it.
    std::string domain;
    std::string path = "/";
    std::string name;
    std::string value;
    // The epoch (the default) for a cookie of the session.
    std::chrono::system_clock::time_point expires{};
    bool secure = false;
    bool httpOnly = false;
};

// The process's shared cookie jar: what the HTTP client receives and sends, and what the web
// view's pages set and read (the web view keeps its engine's cookies the same as these).
// Thread-safe.
class CookieStorage {
public:
    static CookieStorage& shared();
    // Replaces a cookie of the same domain, path and name. A cookie without a name is refused.
    bool setCookie(const Cookie& cookie);
    std::vector<Cookie> cookies() const;
    void deleteCookie(const Cookie& cookie);

    // A response's Set-Cookie header, for the address it came from, as a browser takes it: a
    // Domain that does not cover the host, or a bad name, is refused; Max-Age and Expires in
    // the past delete the cookie. Returns whether it set or deleted one.
    bool setFromHeader(
        std::string_view header, const std::string& url,
        std::chrono::system_clock::time_point now = std::chrono::system_clock::now());
    // The Cookie header's value for a request to the address: the cookies whose domain and
    // path cover it, unexpired, secure ones only over https; "" for none.
    std::string headerFor(const std::string& url, std::chrono::system_clock::time_point now =
                                                      std::chrono::system_clock::now()) const;

    // Told of every change, on the thread that made it: the cookie, and whether it was
    // deleted. Returns what removeObserver takes.
    using Observer = std::function<void(const Cookie& cookie, bool deleted)>;
    std::uint64_t addObserver(Observer observer);
    void removeObserver(std::uint64_t id);

private:
    void notify(const Cookie& cookie, bool deleted);

    mutable std::mutex m_mutex;
    std::vector<Cookie> m_cookies;
    std::vector<std::pair<std::uint64_t, Observer>> m_observers;
    std::uint64_t m_nextObserver{1};
};

}  // namespace platform
