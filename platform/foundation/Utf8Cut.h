#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// Where to cut UTF-8 text to keep at most `limit` bytes without splitting a character: the
// largest length not past the limit that ends at a character's start (continuation bytes
// 10xxxxxx are stepped back over). Text no longer than the limit keeps its whole size.
inline std::size_t utf8CutPoint(std::string_view text, std::size_t limit) {
    if (limit >= text.size())
        return text.size();
    while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80) --limit;
    return limit;
}

}  // namespace platform
