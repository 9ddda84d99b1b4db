#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the platform sign-in page reads from the addresses its web view is asked to load: their
// parts, the key=value pairs of the share service's callback query (opened from the service's
// envelope when it comes enveloped), and the facts of the platforms' own sign-in sites.
class SHSOauthCallback {
public:
    struct AddressParts {
        std::string host;  // lower case, without user or port; "" for an address without "//"
        std::string path;  // "/" when the address has none
        std::string query;
    };
    static AddressParts splitAddress(const std::string& url);

    // The query's key=value pairs: split at "&", each pair at its first "=" (a value may hold
    // "=" itself, as Base64 does); a pair without "=" has an empty value.
    static std::map<std::string, std::string> parseUrl(const std::string& query);
    // The callback's pairs; a query holding "ud_get=" is opened first (what follows it is the
    // enveloped query). Nothing when the envelope does not open.
    static std::optional<std::map<std::string, std::string>> callbackInfo(const std::string& query);

    // Whether the address carries "sms:" anywhere, in any case: a failing load of such an
    // address is a message for the system to send.
    static bool carriesSms(const std::string& url);
    // The cookie domains of a platform's sign-in site that are cleared before its page loads,
    // so the user signs in afresh; none for most platforms.
    static std::vector<std::string> signInCookieDomains(const std::string& platformName);
    // Logs the shared cookie jar and deletes the cookies of those domains.
    static void clearSignInCookies(const std::string& platformName);
    // The mobile sign-in host whose pages stop the page's spinner as soon as they are asked for.
    static constexpr std::string_view kMobileSignInHost = "mlogin.tw-platform.example";
    static bool isMobileSignInHost(const std::string& host);
};
