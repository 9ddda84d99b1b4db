#include "client/URLTemplate.h"

#include "platform/foundation/URLEscaping.h"

ServiceURL formatServiceURL(std::string_view format, const std::vector<URLArgument>& arguments) {
    ServiceURL out;
    std::string literal;
    size_t next = 0;
    auto append = [&](const std::string& sent, std::string_view shown) {
        out.url += sent;
        out.shown += shown;
    };
    auto flushLiteral = [&] {
        std::string escaped = platform::escapeWholeURL(literal);
        append(escaped, escaped);
        literal.clear();
    };
    for (size_t i = 0; i < format.size(); ++i) {
        bool isObject = format.substr(i, 2) == "%@";
        bool isLong = format.substr(i, 3) == "%ld";
        if ((isObject || isLong) && next < arguments.size()) {
            flushLiteral();
            const auto& argument = arguments[next++];
            if (const auto* text = std::get_if<std::string>(&argument)) {
                std::string escaped = platform::escapeQueryComponent(*text);
                append(escaped, escaped);
            } else if (const auto* hidden = std::get_if<SecretArgument>(&argument)) {
                append(platform::escapeQueryComponent(hidden->value), kSecretShown);
            } else {
                std::string number = std::to_string(std::get<long>(argument));
                append(number, number);
            }
            i += isObject ? 1 : 2;
            continue;
        }
        literal += format[i];
    }
    flushLiteral();
    return out;
}
