#include "platform/foundation/TextSearch.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <climits>

namespace platform {

namespace {

icu::UnicodeString folded(std::string_view text) {
    // ICU counts in 32 bits; nothing searched here comes near that.
    const auto length = std::min<std::size_t>(text.size(), INT32_MAX);
    auto unicode = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), int32_t(length)));
    unicode.foldCase(U_FOLD_CASE_DEFAULT);
    return unicode;
}

}  // namespace

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    if (part.empty())
        return false;
    return folded(text).indexOf(folded(part)) >= 0;
}

}  // namespace platform
