#include "platform/foundation/ComposedCharacters.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace platform {

namespace {

icu::UnicodeString unicodeOf(std::string_view text) {
    // ICU counts in 32 bits; nothing this client cuts comes near that.
    const auto length = std::min<std::size_t>(text.size(), INT32_MAX);
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), int32_t(length)));
}

// The UTF-16 offsets at which the text's characters begin, and its end.
std::vector<int32_t> characterBoundaries(const icu::UnicodeString& text) {
    std::vector<int32_t> boundaries;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> characters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !characters) {
        // Without break rules every code point stands alone, which still never splits one.
        for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) boundaries.push_back(i);
        boundaries.push_back(text.length());
        return boundaries;
    }
    characters->setText(text);
    for (int32_t at = characters->first(); at != icu::BreakIterator::DONE; at = characters->next())
        boundaries.push_back(at);
    if (boundaries.empty())
        boundaries.push_back(0);
    return boundaries;
}

}  // namespace

std::size_t composedCharacterCount(std::string_view text) {
    if (text.empty())
        return 0;
    const auto unicode = unicodeOf(text);
    return characterBoundaries(unicode).size() - 1;
}

std::string substringOfCharacters(std::string_view text, std::size_t from, std::size_t count) {
    if (text.empty() || count == 0)
        return "";
    const auto unicode = unicodeOf(text);
    const auto boundaries = characterBoundaries(unicode);
    const std::size_t characters = boundaries.size() - 1;
    if (from >= characters)
        return "";
    const std::size_t to = count > characters - from ? characters : from + count;
    std::string cut;
    unicode.tempSubStringBetween(boundaries[from], boundaries[to]).toUTF8String(cut);
    return cut;
}

}  // namespace platform
