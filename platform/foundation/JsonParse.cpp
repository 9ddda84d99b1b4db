#include "platform/foundation/JsonParse.h"

#include <cstring>

namespace platform {

namespace {

// Whether the text's brackets nest deeper than the limit. One linear pass that skips string
// contents; for valid JSON it counts exactly what the parser would build, and anything else
// the parser refuses whatever this says. Replies are mostly text, so the ends of strings are
// found with memchr (a quote is escaped when an odd run of backslashes stands before it).
bool bracketsNestDeeperThan(std::string_view text, int limit) {
    int depth = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char c = *p++;
        if (c == '"') {
            const char* const start = p;
            for (;;) {
                const auto* quote =
                    static_cast<const char*>(std::memchr(p, '"', static_cast<size_t>(end - p)));
                if (!quote)
                    return false;
                const char* back = quote;
                while (back > start && back[-1] == '\\') --back;
                p = quote + 1;
                if ((quote - back) % 2 == 0)
                    break;
            }
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

void setError(std::string* error, const char* text) {
    if (error)
        *error = text;
}

bool deeperThan(const Json& value, int limit, int depth) {
    if (!value.is_structured())
        return false;
    if (depth + 1 > limit)
        return true;
    for (const auto& member : value)
        if (deeperThan(member, limit, depth + 1))
            return true;
    return false;
}

}  // namespace

std::optional<Json> parseJson(std::string_view text, std::string* error) {
    if (bracketsNestDeeperThan(text, kMaxNestingDepth)) {
        setError(error, "nested too deeply");
        return std::nullopt;
    }
    Json parsed = Json::parse(text, nullptr, false);
    if (parsed.is_discarded()) {
        setError(error, "not JSON");
        return std::nullopt;
    }
    return parsed;
}

bool nestsDeeperThan(const Json& value, int limit) {
    return deeperThan(value, limit, 0);
}

}  // namespace platform
