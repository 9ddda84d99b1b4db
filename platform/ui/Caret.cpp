#include "platform/ui/Caret.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextPositions.h"

namespace platform {

namespace {

// The blink of the window's frame being drawn, if any, and the carets asked for in it.
struct CaretDrawing {
    bool shown{true};
    int carets{0};
};

CaretDrawing& drawing() {
    static CaretDrawing state;
    return state;
}

Rect bar(const Rect& lineBox, Point origin) {
    return Rect{{origin.x + lineBox.minX(), origin.y + lineBox.minY()},
                {kCaretWidth, lineBox.size.height}};
}

}  // namespace

Rect caretRectInText(const std::string& text, std::size_t index, const Font& font,
                     const Rect& textRect, TextAlignment alignment) {
    return bar(textInsertionRect(text, font, textRect.size.width, alignment, index),
               textRect.origin);
}

std::size_t caretIndexInText(const std::string& text, const Font& font, const Rect& textRect,
                             TextAlignment alignment, Point point) {
    return textInsertionIndex(text, font, textRect.size.width, alignment,
                              Point{point.x - textRect.minX(), point.y - textRect.minY()});
}

double scrollToShowCaret(double scroll, double caretX, double textWidth, double visibleWidth) {
    if (!std::isfinite(scroll) || !std::isfinite(caretX) || !std::isfinite(textWidth) ||
        !std::isfinite(visibleWidth) || visibleWidth <= 0) {
        return 0;
    }
    const double furthest = std::max(0.0, textWidth + kCaretWidth - visibleWidth);
    if (caretX + kCaretWidth > scroll + visibleWidth) {
        scroll = caretX + kCaretWidth - visibleWidth;
    }
    if (caretX < scroll) {
        scroll = caretX;
    }
    return std::clamp(scroll, 0.0, furthest);
}

void drawCaret(BitmapContext& context, const Rect& caretRect, const Color& color) {
    auto& state = drawing();
    ++state.carets;
    if (state.shown) {
        context.fillRect(caretRect, color);
    }
}

CaretFrame::CaretFrame(bool caretShown) : m_wasShown(drawing().shown), m_carets(drawing().carets) {
    drawing().shown = caretShown;
}

CaretFrame::~CaretFrame() {
    drawing().shown = m_wasShown;
}

bool CaretFrame::caretStood() const {
    return drawing().carets != m_carets;
}

}  // namespace platform
