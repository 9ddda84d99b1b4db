#include "platform/ui/ProgressView.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/BitmapContext.h"

namespace platform {

ProgressView::ProgressView(ProgressViewStyle style)
    : View(Rect{{0, 0}, {0, kHeight}}), m_style(style) {
    setBackgroundColor(Color::clear());
}

ProgressView::ProgressView(const Rect& frame)
    : View(Rect{frame.origin, {frame.size.width, kHeight}}) {
    setBackgroundColor(Color::clear());
}

void ProgressView::setProgress(float progress, bool /*animated*/) {
    setDisplayed(m_progress, std::isnan(progress) ? 0.0f : std::clamp(progress, 0.0f, 1.0f));
}

Color ProgressView::progressTintColor() const {
    return m_progressTint.value_or(tintColor());
}

Color ProgressView::trackTintColor() const {
    if (m_trackTint) {
        return *m_trackTint;
    }
    return m_style == ProgressViewStyle::Bar ? Color::clear() : Color::whiteAlpha(0.72f, 1);
}

Size ProgressView::sizeThatFits(Size size) const {
    return Size{size.width, kHeight};
}

void ProgressView::draw(BitmapContext& context, const Rect& rect) {
    context.fillRect(rect, trackTintColor());
    Rect filled = rect;
    filled.size.width = rect.size.width * m_progress;
    if (filled.size.width > 0) {
        context.fillRect(filled, progressTintColor());
    }
}

std::string ProgressView::describe() const {
    return "progress " + std::to_string(int(std::lround(m_progress * 100))) + "%";
}

}  // namespace platform
