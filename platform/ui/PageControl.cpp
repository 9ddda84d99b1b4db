#include "platform/ui/PageControl.h"

#include <algorithm>

#include "platform/graphics/BitmapContext.h"

namespace platform {

PageControl::PageControl() {
    setBackgroundColor(Color::clear());
}

PageControl::PageControl(const Rect& frame) : Control(frame) {
    setBackgroundColor(Color::clear());
}

void PageControl::setNumberOfPages(int count) {
    setDisplayed(m_numberOfPages, std::max(0, count));
    setCurrentPage(m_currentPage);
}

void PageControl::setCurrentPage(int page) {
    setDisplayed(m_currentPage, std::clamp(page, 0, std::max(0, m_numberOfPages - 1)));
}

bool PageControl::showsDots() const {
    return m_numberOfPages > 0 && !(m_hidesForSinglePage && m_numberOfPages <= 1);
}

Size PageControl::sizeForNumberOfPages(int pages) {
    if (pages <= 0) {
        return {0, kHeight};
    }
    return {pages * kDotDiameter + (pages - 1) * kDotSpacing, kHeight};
}

Rect PageControl::rectForDot(int page) const {
    Rect b = bounds();
    double width = sizeForNumberOfPages(m_numberOfPages).width;
    double left = b.midX() - width / 2;
    return Rect{{left + page * (kDotDiameter + kDotSpacing), b.midY() - kDotDiameter / 2},
                {kDotDiameter, kDotDiameter}};
}

bool PageControl::pointInside(Point point) const {
    return showsDots() && Control::pointInside(point);
}

void PageControl::touchesEnded(const Touches& touches) {
    auto self = weak_from_this().lock();
    bool changed = false;
    if (isEnabled() && !touches.empty()) {
        Point point = touches.front().locationInView(this);
        if (bounds().contains(point)) {
            int page = m_currentPage + (point.x < bounds().midX() ? -1 : 1);
            page = std::clamp(page, 0, std::max(0, m_numberOfPages - 1));
            changed = page != m_currentPage;
            m_currentPage = page;
        }
    }
    Control::touchesEnded(touches);
    if (changed) {
        sendActions(ControlEvent::ValueChanged);
    }
}

Size PageControl::sizeThatFits(Size /*size*/) const {
    return sizeForNumberOfPages(m_numberOfPages);
}

void PageControl::draw(BitmapContext& context, const Rect& /*rect*/) {
    if (!showsDots()) {
        return;
    }
    Color other = m_pageIndicatorTintColor.value_or(Color::whiteAlpha(1, 0.2f));
    Color current = m_currentPageIndicatorTintColor.value_or(Color::white());
    for (int page = 0; page < m_numberOfPages; ++page) {
        context.fillEllipse(rectForDot(page), page == m_currentPage ? current : other);
    }
}

std::string PageControl::describe() const {
    if (!showsDots()) {
        return "page control (none)";
    }
    return "page control " + std::to_string(m_currentPage + 1) + "/" +
           std::to_string(m_numberOfPages);
}

}  // namespace platform
