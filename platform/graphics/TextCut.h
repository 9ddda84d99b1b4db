#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/graphics/Font.h"

namespace platform {

// The room a text is measured or drawn in: width 0 = no limit (lines break only at "\n"),
// height 0 = no limit, maxLines 0 = no limit.
struct TextBox {
    double width = 0;
    double height = 0;
    int maxLines = 0;
};

// The most of a text a box could show, overestimated from the font's size alone: no glyph is
// narrower than a quarter of an em and no line shorter than an em, so a box W wide and H high
// shows at most (W / (em / 4) + 1) * (H / em + 1) characters on H / em + 1 lines. A height
// with no limit (a title or a body that grows with its text) counts as kShownScreens of the
// longest screen side, and the whole box as no more than that many screens of text. Lines
// that are never broken (no width limit) may each take all of it: such a line may be
// scrolled along, as an edited field's is.
struct TextCutBound {
    std::size_t characters = 0;
    std::size_t lines = 0;
};

inline constexpr double kShownScreens = 4;
inline constexpr double kLongestScreenSide = 1024;

TextCutBound textCutBound(const Font& font, TextBox box);

// What text measurement and drawing lay out of `text` in `box`: the text itself when it is
// within the bound; otherwise its start, cut at the line break that ends the last line the box
// could hold or at the first character boundary a reader sees (never inside a composed
// character) past the characters it could hold, followed by "…". Bytes that are not UTF-8
// count a character each. Costs at most a pass over the bound, however long the text: a reply
// may hand a label megabytes of it.
std::string cutToBox(std::string_view text, const Font& font, TextBox box);

}  // namespace platform
