#include "SocialSDK/screens/SHSOauthCallback.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "SocialSDK/base/SHSocialUtils.h"
#include "SocialSDK/service/SHSocialCryptor.h"
#include "platform/foundation/CookieStorage.h"

namespace {

// The platforms' own sign-in sites. The stand-in platforms of this system live on invented
// hosts; only their shape matters to the page.
// The cookie domains of the one platform whose sign-in site would otherwise sign the last user
// in again without asking: its base domain with a leading dot, its graph host, and that host
// with a leading dot.
constexpr std::array<std::string_view, 3> kRenrenCookieDomains = {
    ".rr-platform.example", "graph.rr-platform.example", ".graph.rr-platform.example"};

constexpr std::string_view kEnvelope = "ud_get=";

std::string lowered(std::string text) {
    for (auto& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

SHSOauthCallback::AddressParts SHSOauthCallback::splitAddress(const std::string& url) {
    AddressParts parts;
    const auto schemeEnd = url.find("://");
    const auto hostStart = schemeEnd == std::string::npos ? 0 : schemeEnd + 3;
    auto pathStart = url.find('/', hostStart);
    const auto queryStart = url.find('?', hostStart);
    const auto fragment = url.find('#', hostStart);
    if (pathStart != std::string::npos && queryStart != std::string::npos && pathStart > queryStart)
        pathStart = std::string::npos;
    if (schemeEnd != std::string::npos) {
        const auto hostEnd = std::min({pathStart, queryStart, fragment, url.size()});
        parts.host = url.substr(hostStart, hostEnd - hostStart);
        if (auto at = parts.host.rfind('@'); at != std::string::npos)
            parts.host.erase(0, at + 1);
        if (auto colon = parts.host.rfind(':'); colon != std::string::npos)
            parts.host.erase(colon);
        parts.host = lowered(parts.host);
    }
    const auto pathEnd = std::min(queryStart, fragment);
    parts.path = pathStart == std::string::npos ? std::string("/")
                                                : url.substr(pathStart, pathEnd - pathStart);
    if (queryStart != std::string::npos && queryStart < fragment)
        parts.query = url.substr(
            queryStart + 1, fragment == std::string::npos ? fragment : fragment - queryStart - 1);
    return parts;
}

std::map<std::string, std::string> SHSOauthCallback::parseUrl(const std::string& query) {
    std::map<std::string, std::string> pairs;
    std::size_t start = 0;
    while (start <= query.size()) {
        const auto amp = query.find('&', start);
        const auto piece = query.substr(start, amp == std::string::npos ? amp : amp - start);
        if (!piece.empty()) {
            const auto eq = piece.find('=');
            if (eq == std::string::npos)
                pairs[piece] = "";
            else
                pairs[piece.substr(0, eq)] = piece.substr(eq + 1);
        }
        if (amp == std::string::npos)
            break;
        start = amp + 1;
    }
    return pairs;
}

std::optional<std::map<std::string, std::string>> SHSOauthCallback::callbackInfo(
    const std::string& query) {
    const auto at = query.find(kEnvelope);
    if (at == std::string::npos)
        return parseUrl(query);
    const auto plain = SHSocialCryptor::AES128Decrypt(query.substr(at + kEnvelope.size()));
    if (!plain)
        return std::nullopt;
    return parseUrl(*plain);
}

bool SHSOauthCallback::carriesSms(const std::string& url) {
    return lowered(url).find("sms:") != std::string::npos;
}

std::vector<std::string> SHSOauthCallback::signInCookieDomains(const std::string& platformName) {
    if (platformName != "renren")
        return {};
    return {kRenrenCookieDomains.begin(), kRenrenCookieDomains.end()};
}

bool SHSOauthCallback::isMobileSignInHost(const std::string& host) {
    return host == kMobileSignInHost;
}

void SHSOauthCallback::clearSignInCookies(const std::string& platformName) {
    const auto domains = signInCookieDomains(platformName);
    if (domains.empty())
        return;
    auto& storage = platform::CookieStorage::shared();
    const auto cookies = storage.cookies();
    std::string listed;
    for (const auto& cookie : cookies)
        listed += (listed.empty() ? "" : ", ") + cookie.domain + " " + cookie.name;
    SHSocialUtils::outLog("cookies is %@", "(" + listed + ")");
    for (const auto& cookie : cookies) {
        if (std::find(domains.begin(), domains.end(), cookie.domain) != domains.end())
            storage.deleteCookie(cookie);
    }
}
