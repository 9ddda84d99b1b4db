#include "platform/foundation/TextRange.h"

#include <unicode/brkiter.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace platform {

namespace {

icu::UnicodeString toUnicode(const std::string& text) {
    return icu::UnicodeString::fromUTF8(text);
}

std::string toUtf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

// Boundaries of composed character sequences, in UTF-16 units, starting with 0 and ending
// with the length. Falls back to code points when ICU cannot make a break iterator.
std::vector<int32_t> characterBoundaries(const icu::UnicodeString& text) {
    std::vector<int32_t> bounds;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> it(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_SUCCESS(status) && it) {
        it->setText(text);
        for (int32_t b = it->first(); b != icu::BreakIterator::DONE; b = it->next()) {
            bounds.push_back(b);
        }
        return bounds;
    }
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        bounds.push_back(i);
    }
    bounds.push_back(text.length());
    return bounds;
}

}  // namespace

bool operator==(const TextRange& a, const TextRange& b) {
    return a.location == b.location && a.length == b.length;
}

std::size_t utf16Length(const std::string& text) {
    return std::size_t(toUnicode(text).length());
}

std::optional<std::string> replacingTextRange(const std::string& text, TextRange range,
                                              const std::string& replacement) {
    icu::UnicodeString unicode = toUnicode(text);
    auto length = std::size_t(unicode.length());
    if (range.location > length || range.length > length - range.location) {
        return std::nullopt;
    }
    unicode.replace(int32_t(range.location), int32_t(range.length), toUnicode(replacement));
    return toUtf8(unicode);
}

std::vector<std::string> composedCharacters(const std::string& text) {
    icu::UnicodeString unicode = toUnicode(text);
    auto bounds = characterBoundaries(unicode);
    std::vector<std::string> characters;
    for (size_t i = 1; i < bounds.size(); ++i) {
        characters.push_back(toUtf8(unicode.tempSubStringBetween(bounds[i - 1], bounds[i])));
    }
    return characters;
}

TextRange lastComposedCharacterRange(const std::string& text) {
    return composedCharacterRangeBefore(text, utf16Length(text));
}

TextRange composedCharacterRangeBefore(const std::string& text, std::size_t index) {
    icu::UnicodeString unicode = toUnicode(text);
    auto bounds = characterBoundaries(unicode);
    // The first boundary at or past the index ends the sequence.
    auto end = std::lower_bound(bounds.begin(), bounds.end(),
                                int32_t(std::min<std::size_t>(index, std::size_t(INT32_MAX))));
    if (end == bounds.end() || end == bounds.begin()) {
        return {};
    }
    auto last = std::size_t(*end);
    auto previous = std::size_t(*(end - 1));
    return TextRange{previous, last - previous};
}

std::size_t composedCharactersEnd(const std::string& text, std::size_t count) {
    auto bounds = characterBoundaries(toUnicode(text));
    return std::size_t(bounds[std::min(count, bounds.size() - 1)]);
}

std::size_t composedCharactersBefore(const std::string& text, std::size_t index) {
    auto bounds = characterBoundaries(toUnicode(text));
    auto past = std::upper_bound(bounds.begin(), bounds.end(),
                                 int32_t(std::min<std::size_t>(index, std::size_t(INT32_MAX))));
    return std::size_t(past - bounds.begin()) - 1;
}

}  // namespace platform
