#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Cuts of text by characters rather than bytes. A character is a composed character sequence
// (what a reader sees as one letter: a CJK ideograph, an accented letter with its combining
// mark, an emoji with its modifiers), so a cut never splits one, whatever its length in UTF-8.

// The number of characters in the UTF-8 text.
std::size_t composedCharacterCount(std::string_view text);

// Up to `count` characters from the character at index `from`. A cut that reaches past the
// end gives what there is, and one that starts past the end gives "". Bytes that are not
// UTF-8 count as one character each and come back as U+FFFD.
std::string substringOfCharacters(std::string_view text, std::size_t from, std::size_t count);

}  // namespace platform
