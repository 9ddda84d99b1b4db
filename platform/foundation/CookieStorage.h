#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

struct Cookie {
    std::string domain;
    std::string path = "/";
    std::string name;
    std::string value;
    std::chrono::system_clock::time_point expires{};
};

// The process's shared cookie jar.
class CookieStorage {
public:
    static CookieStorage& shared();
    // Replaces a cookie of the same domain, path and name. A cookie without a name is refused.
    bool setCookie(const Cookie& cookie);
    std::vector<Cookie> cookies() const;
    void deleteCookie(const Cookie& cookie);

private:
    mutable std::mutex m_mutex;
    std::vector<Cookie> m_cookies;
};

}  // namespace platform
