#include "client/URLTemplate.h"

#include "platform/foundation/URLEscaping.h"

std::string formatServiceURL(std::string_view format, const std::vector<URLArgument>& arguments) {
    std::string out;
    std::string literal;
    size_t next = 0;
    auto flushLiteral = [&] {
        out += platform::escapeWholeURL(literal);
        literal.clear();
    };
    for (size_t i = 0; i < format.size(); ++i) {
        bool isObject = format.substr(i, 2) == "%@";
        bool isLong = format.substr(i, 3) == "%ld";
        if ((isObject || isLong) && next < arguments.size()) {
            flushLiteral();
            const auto& argument = arguments[next++];
            if (const auto* text = std::get_if<std::string>(&argument))
                out += platform::escapeQueryComponent(*text);
            else
                out += std::to_string(std::get<long>(argument));
            i += isObject ? 1 : 2;
            continue;
        }
        literal += format[i];
    }
    flushLiteral();
    return out;
}
