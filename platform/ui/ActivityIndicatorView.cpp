#include "platform/ui/ActivityIndicatorView.h"

#include <cmath>
#include <numbers>

#include "platform/graphics/BitmapContext.h"

namespace platform {

ActivityIndicatorView::ActivityIndicatorView(ActivityIndicatorViewStyle style)
    : View(Rect{{0, 0}, sizeFor(style)}), m_style(style) {
    setBackgroundColor(Color::clear());
    setUserInteractionEnabled(false);
    setHidden(true);
}

ActivityIndicatorView::ActivityIndicatorView(const Rect& frame) : View(frame) {
    setBackgroundColor(Color::clear());
    setUserInteractionEnabled(false);
    setHidden(true);
}

Size ActivityIndicatorView::sizeFor(ActivityIndicatorViewStyle style) {
    return style == ActivityIndicatorViewStyle::WhiteLarge ? Size{37, 37} : Size{20, 20};
}

void ActivityIndicatorView::setStyle(ActivityIndicatorViewStyle style) {
    m_style = style;
    Point c = center();
    Size size = sizeFor(style);
    setFrame(Rect{{c.x - size.width / 2, c.y - size.height / 2}, size});
}

Color ActivityIndicatorView::color() const {
    if (m_color) {
        return *m_color;
    }
    return m_style == ActivityIndicatorViewStyle::Gray ? Color::gray() : Color::white();
}

void ActivityIndicatorView::startAnimating() {
    m_animating = true;
    if (m_hidesWhenStopped) {
        setHidden(false);
    }
}

void ActivityIndicatorView::stopAnimating() {
    m_animating = false;
    if (m_hidesWhenStopped) {
        setHidden(true);
    }
}

void ActivityIndicatorView::setHidesWhenStopped(bool hides) {
    m_hidesWhenStopped = hides;
    if (hides && !m_animating) {
        setHidden(true);
    }
}

Size ActivityIndicatorView::sizeThatFits(Size /*size*/) const {
    return sizeFor(m_style);
}

void ActivityIndicatorView::draw(BitmapContext& context, const Rect& rect) {
    // Twelve spokes fading round the circle: a still frame of the spin.
    Point c{rect.minX() + rect.size.width / 2, rect.minY() + rect.size.height / 2};
    double radius = std::min(rect.size.width, rect.size.height) / 2;
    double width = std::max(1.5, radius / 4);
    Color base = color();
    for (int i = 0; i < 12; ++i) {
        double angle = i * std::numbers::pi / 6;
        double dx = std::cos(angle), dy = std::sin(angle);
        Color spoke = base.withAlpha(base.alpha * float(0.25 + 0.75 * i / 11.0));
        context.strokeLine({c.x + dx * radius * 0.5, c.y + dy * radius * 0.5},
                           {c.x + dx * (radius - width / 2), c.y + dy * (radius - width / 2)},
                           spoke, width);
    }
}

std::string ActivityIndicatorView::describe() const {
    return m_animating ? "activity indicator (spinning)" : "activity indicator (stopped)";
}

}  // namespace platform
