#pragma once

#include <cstddef>
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

// What one decoded document may hold. A document's tree takes far more memory than its text
// (an empty object "{}" is 3 bytes of text, a hundred in the tree), and a reply's text may
// itself inflate a thousandfold on the way (60 MB of "{}" come as 58 KB of gzip), so a
// document is measured from its text before anything is built: how many values it holds, and
// at most how many bytes its tree would take. Past either, it is refused as text that is not
// JSON is. The defaults hold the largest lists the client shows (300,000 news items) with
// room to spare, and keep the tree, with the parser's own working memory, well inside what the
// process may use.
struct JsonBudget {
    std::size_t maxValues = std::size_t{4} << 20;
    std::size_t maxBytes = std::size_t{256} << 20;
};

// The JSON document in the text, or nothing (with the reason) when the text is not JSON, nests
// deeper than kMaxNestingDepth or passes the budget. Depth and budget are checked before
// anything is built. Never throws.
std::optional<Json> parseJson(std::string_view text, std::string* error = nullptr,
                              const JsonBudget& budget = {});

// parseJson for a text the caller gives up, such as a reply's body: it is read where it lies
// rather than copied for the parser, and let go of (left empty) as soon as it has been read,
// so a large reply is not held as text and as a document at once.
std::optional<Json> parseJsonText(std::string&& text, std::string* error = nullptr,
                                  const JsonBudget& budget = {});

// Whether a value in memory nests deeper than the limit; looks no deeper than limit + 1, so
// it is safe on any value.
bool nestsDeeperThan(const Json& value, int limit);

}  // namespace platform
