#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Json.h"

namespace platform {

// The deepest nesting of lists and dictionaries any document the client reads may have
// (service replies, stored defaults, property lists, archives). Real documents nest a handful
// of levels; a hostile one nested tens of thousands deep would overflow the stack of every
// recursive copy, comparison or serialisation after it, so it is refused where it is read.
inline constexpr int kMaxNestingDepth = 512;

// The JSON document in the text, or nothing (with the reason) when the text is not JSON or
// nests deeper than kMaxNestingDepth. The depth is checked before anything is built. Never
// throws.
std::optional<Json> parseJson(std::string_view text, std::string* error = nullptr);

// parseJson for a text the caller gives up, such as a reply's body: it is read where it lies
// rather than copied for the parser, and let go of (left empty) as soon as it has been read,
// so a large reply is not held as text and as a document at once.
std::optional<Json> parseJsonText(std::string&& text, std::string* error = nullptr);

// Whether a value in memory nests deeper than the limit; looks no deeper than limit + 1, so
// it is safe on any value.
bool nestsDeeperThan(const Json& value, int limit);

}  // namespace platform
