#include "platform/ui/Label.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"

namespace platform {

Label::Label() {
    setUserInteractionEnabled(false);
}

Label::Label(const Rect& frame) : View(frame) {
    setUserInteractionEnabled(false);
}

void Label::setText(std::string text) {
    setDisplayed(m_text, std::move(text));
    textLayoutChanged();
}

void Label::setFont(const Font& font) {
    setDisplayed(m_font, font);
    textLayoutChanged();
}

void Label::setNumberOfLines(int lines) {
    setDisplayed(m_numberOfLines, std::max(0, lines));
    textLayoutChanged();
}

void Label::setLineSpacing(double spacing) {
    setDisplayed(m_lineSpacing, std::max(0.0, spacing));
    textLayoutChanged();
}

double Label::spacedHeight(double linesHeight) const {
    if (m_lineSpacing <= 0 || linesHeight <= 0) {
        return linesHeight;
    }
    double lineHeight = TextMeasurer::current().lineHeight(m_font);
    double lines = lineHeight > 0 ? std::max(1.0, std::round(linesHeight / lineHeight)) : 1;
    return linesHeight + (lines - 1) * m_lineSpacing;
}

void Label::textLayoutChanged() {
    // A container that sizes itself around the label (a button, a bar) lays out again.
    if (auto parent = superview()) {
        parent->setNeedsLayout();
    }
}

Rect Label::textRectForBounds(const Rect& bounds) const {
    const auto& measurer = TextMeasurer::current();
    Size constraint{m_numberOfLines == 1 ? 0 : bounds.size.width, 0};
    double height = measurer.boundingSize(m_text, m_font, constraint).height;
    if (m_numberOfLines > 0) {
        height = std::min(height, m_numberOfLines * measurer.lineHeight(m_font));
    }
    height = spacedHeight(height);
    height = std::clamp(height, 0.0, std::max(0.0, bounds.size.height));
    return Rect{{bounds.origin.x, bounds.origin.y + (bounds.size.height - height) / 2},
                {bounds.size.width, height}};
}

Size Label::sizeThatFits(Size size) const {
    if (m_text.empty()) {
        return {0, 0};
    }
    const auto& measurer = TextMeasurer::current();
    Size constraint{m_numberOfLines == 1 ? 0 : size.width, 0};
    Size used = measurer.boundingSize(m_text, m_font, constraint);
    if (m_numberOfLines > 0) {
        used.height = std::min(used.height, m_numberOfLines * measurer.lineHeight(m_font));
    }
    used.height = spacedHeight(used.height);
    return used;
}

void Label::draw(BitmapContext& context, const Rect& rect) {
    if (m_text.empty()) {
        return;
    }
    Color color = m_textColor;
    if (!m_enabled) {
        color = Color::gray();
    } else if (m_highlighted && m_highlightedTextColor) {
        color = *m_highlightedTextColor;
    }
    Rect textRect = textRectForBounds(rect);
    // From the text's top to the bottom of the label, so rounding never drops the last
    // line; numberOfLines still limits what is shown.
    textRect.size.height = rect.maxY() - textRect.minY();
    context.drawText(m_text, m_font, color, textRect, m_textAlignment, m_numberOfLines,
                     m_lineSpacing);
}

std::string Label::describe() const {
    return "label \"" + m_text + "\"";
}

}  // namespace platform
