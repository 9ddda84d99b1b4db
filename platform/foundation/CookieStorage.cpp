#include "platform/foundation/CookieStorage.h"

#include <algorithm>

namespace platform {

namespace {
bool sameCookie(const Cookie& a, const Cookie& b) {
    return a.domain == b.domain && a.path == b.path && a.name == b.name;
}
}  // namespace

CookieStorage& CookieStorage::shared() {
    static CookieStorage storage;
    return storage;
}

bool CookieStorage::setCookie(const Cookie& cookie) {
    if (cookie.name.empty())
        return false;
    std::lock_guard lock(m_mutex);
    std::erase_if(m_cookies, [&](const Cookie& c) { return sameCookie(c, cookie); });
    m_cookies.push_back(cookie);
    return true;
}

std::vector<Cookie> CookieStorage::cookies() const {
    std::lock_guard lock(m_mutex);
    return m_cookies;
}

void CookieStorage::deleteCookie(const Cookie& cookie) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_cookies, [&](const Cookie& c) { return sameCookie(c, cookie); });
}

}  // namespace platform
