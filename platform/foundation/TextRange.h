#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A range of text as the phone counts it: in UTF-16 units (an emoji outside the basic plane
// is two units, a Chinese character one).
struct TextRange {
    std::size_t location = 0;
    std::size_t length = 0;

    std::size_t end() const { return location + length; }
};

bool operator==(const TextRange&, const TextRange&);

// The length of UTF-8 text in UTF-16 units.
std::size_t utf16Length(const std::string& text);

// The text with `range` replaced; nothing when the range does not lie within the text.
std::optional<std::string> replacingTextRange(const std::string& text, TextRange range,
                                              const std::string& replacement);

// The text cut into what a user types as one key press: composed character sequences.
std::vector<std::string> composedCharacters(const std::string& text);

// The range of the last composed character sequence (what the delete key removes); an
// empty range at 0 for empty text.
TextRange lastComposedCharacterRange(const std::string& text);
// The range of the composed character sequence that ends at or holds the UTF-16 index (what
// the delete key removes before an insertion point); an empty range at 0 when there is none.
TextRange composedCharacterRangeBefore(const std::string& text, std::size_t index);
// The UTF-16 index just past the first `count` composed character sequences (all of them
// when there are fewer), and how many sequences lie before a UTF-16 index: a field that shows
// one bullet per character maps its insertion point with these.
std::size_t composedCharactersEnd(const std::string& text, std::size_t count);
std::size_t composedCharactersBefore(const std::string& text, std::size_t index);

}  // namespace platform
