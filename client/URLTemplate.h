#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A text argument that no log line may show (a password). It is sent exactly as any text
// argument is; only the address a log line gives reads "***" in its place.
struct SecretArgument {
    std::string value;
};

inline SecretArgument secret(std::string value) {
    return SecretArgument{std::move(value)};
}

// One argument of a URL template: text for "%@", a number for "%ld", or secret text for "%@".
using URLArgument = std::variant<std::string, long, SecretArgument>;

// A finished service address: what is sent, and what a log line may show of it. An address
// made from plain text (not by formatServiceURL) has nothing marked secret: both are the text.
struct ServiceURL {
    ServiceURL() = default;
    ServiceURL(std::string plain) : url(plain), shown(std::move(plain)) {}
    ServiceURL(const char* plain) : ServiceURL(std::string(plain)) {}
    ServiceURL(std::string url, std::string shown) : url(std::move(url)), shown(std::move(shown)) {}

    std::string url;
    std::string shown;
};

// What a log line shows in place of a secret argument.
inline constexpr std::string_view kSecretShown = "***";

// Fills "%@" and "%ld" in the template with the arguments in order and percent-escapes the
// result as the school's services expect: the template's own text is escaped as a whole URL
// (reserved characters kept), each text argument as a query component. The shown form has
// kSecretShown for each secret argument and is otherwise the same.
ServiceURL formatServiceURL(std::string_view format, const std::vector<URLArgument>& arguments);
