#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextRun.h"

namespace platform {

// Places inside text as BitmapContext draws it, for a caret and for a finger that puts one:
// they come from the same Pango layout the drawing makes, so an insertion point stands
// exactly between the glyphs drawn. Indices count UTF-16 units, as TextRange does; an index
// past the text is taken as its end, one inside a character as its start. Points are from
// the top-left corner of where the text is drawn.

// The line box at the insertion point before `index` (its x, the line's top and height;
// width 0) in text drawn by drawText into a rect `width` points wide (0: one line, broken
// only at "\n") with `alignment`. Empty text gives the empty line's box, aligned.
Rect textInsertionRect(const std::string& text, const Font& font, double width,
                       TextAlignment alignment, std::size_t index);
// The insertion point nearest to `point`, between two composed characters.
std::size_t textInsertionIndex(const std::string& text, const Font& font, double width,
                               TextAlignment alignment, Point point);

}  // namespace platform
