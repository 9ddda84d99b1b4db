#include "platform/ui/TableViewIndex.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/BitmapContext.h"

namespace platform {

TableViewIndex::TableViewIndex() {
    setBackgroundColor(Color::clear());
}

Rect TableViewIndex::rectForTitle(int index) const {
    Rect b = bounds();
    double count = double(m_titles.size());
    double height = count > 0 ? std::min(kTitleHeight, b.size.height / count) : 0;
    double top = b.origin.y + (b.size.height - height * count) / 2;
    return Rect{{b.origin.x, top + height * index}, {b.size.width, height}};
}

std::optional<int> TableViewIndex::titleIndexAtPoint(Point point) const {
    if (m_titles.empty() || !bounds().contains(point)) {
        return std::nullopt;
    }
    Rect first = rectForTitle(0);
    if (first.size.height <= 0 || point.y < first.origin.y) {
        return std::nullopt;
    }
    int index = int(std::floor((point.y - first.origin.y) / first.size.height));
    if (index >= int(m_titles.size())) {
        return std::nullopt;
    }
    return index;
}

void TableViewIndex::select(const Touches& touches) {
    if (touches.empty()) {
        return;
    }
    auto index = titleIndexAtPoint(touches.front().locationInView(this));
    if (!index || index == m_lastSelected) {
        return;
    }
    m_lastSelected = index;
    if (onSelectTitle) {
        // The callback may reload the table and let this index go.
        auto self = weak_from_this().lock();
        onSelectTitle(*index);
    }
}

void TableViewIndex::touchesBegan(const Touches& touches) {
    m_lastSelected.reset();
    select(touches);
}

void TableViewIndex::touchesMoved(const Touches& touches) {
    select(touches);
}

void TableViewIndex::touchesEnded(const Touches& /*touches*/) {
    m_lastSelected.reset();
}

void TableViewIndex::touchesCancelled(const Touches& /*touches*/) {
    m_lastSelected.reset();
}

void TableViewIndex::draw(BitmapContext& context, const Rect& /*rect*/) {
    Font font = Font::boldSystemFont(11);
    for (size_t i = 0; i < m_titles.size(); ++i) {
        context.drawText(m_titles[i], font, m_textColor, rectForTitle(int(i)),
                         TextAlignment::Center, 1);
    }
}

std::string TableViewIndex::describe() const {
    std::string text = "index";
    for (const auto& title : m_titles) {
        text += " " + title;
    }
    return text;
}

}  // namespace platform
