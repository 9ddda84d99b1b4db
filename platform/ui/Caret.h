#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextRun.h"

namespace platform {

class BitmapContext;

// The caret of text being edited, the same for every input that takes typing (text fields,
// text views, a web page's form fields): a bar in the input's tint over the line box at the
// insertion point. Screenshots show it steady; the desktop window blinks it (CaretFrame).
//
// An input keeps its insertion point (a UTF-16 index, as TextRange counts), asks where the
// caret stands in the text it draws, and draws it after the text:
//     Rect bar = caretRectInText(text, insertion, font, textRect, alignment);
//     drawCaret(context, bar, tintColor());
// A tap puts the insertion point at caretIndexInText(text, font, textRect, alignment, tap).
// One line that is wider than its box scrolls: scrollToShowCaret says how far.

// How wide the bar is.
constexpr double kCaretWidth = 2;

// The bar at `index` in text drawn with BitmapContext::drawText into `textRect` (width 0:
// one line, not wrapped), in the coordinates the rect is in.
Rect caretRectInText(const std::string& text, std::size_t index, const Font& font,
                     const Rect& textRect, TextAlignment alignment);
// The insertion point a finger at `point` (in the same coordinates) puts into that text.
std::size_t caretIndexInText(const std::string& text, const Font& font, const Rect& textRect,
                             TextAlignment alignment, Point point);

// How far one line of text `textWidth` wide, shown in a box `visibleWidth` wide, is moved
// left so that the caret at `caretX` (from the text's start) shows, moving as little as
// possible from `scroll`, the last scroll shown; never past the text's end (plus the bar), so
// deleting brings the text back in.
double scrollToShowCaret(double scroll, double caretX, double textWidth, double visibleWidth);

// Draws the bar, unless the frame being drawn is in the blink's dark half.
void drawCaret(BitmapContext& context, const Rect& caretRect, const Color& color);

// A frame drawn for a window that blinks the caret. While one lives, drawCaret draws only when
// `caretShown`; afterwards it tells whether any caret stood on the screen, so the window knows
// to draw again when the caret blinks. Without one (screenshots) the caret is drawn steady.
// Main thread only.
class CaretFrame {
public:
    explicit CaretFrame(bool caretShown);
    ~CaretFrame();
    CaretFrame(const CaretFrame&) = delete;
    CaretFrame& operator=(const CaretFrame&) = delete;

    bool caretStood() const;

private:
    bool m_wasShown;
    int m_carets;
};

}  // namespace platform
