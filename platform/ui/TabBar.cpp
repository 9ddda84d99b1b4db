#include "platform/ui/TabBar.h"

#include "platform/graphics/BitmapContext.h"
#include "platform/ui/TabBarButton.h"
#include "platform/ui/TabBarItem.h"

namespace platform {

TabBar::TabBar() = default;

void TabBar::setItems(std::vector<std::shared_ptr<TabBarItem>> items, bool /*animated*/) {
    for (auto& button : m_buttons) {
        button->removeFromSuperview();
    }
    m_buttons.clear();
    std::erase(items, nullptr);
    m_items = std::move(items);

    auto self = std::static_pointer_cast<TabBar>(weak_from_this().lock());
    std::weak_ptr<View> weak = weak_from_this();
    auto selected = selectedItem();
    for (size_t i = 0; i < m_items.size(); ++i) {
        m_items[i]->m_bar = self;
        auto button = View::make<TabBarButton>(m_items[i]);
        button->setHandle("tab" + std::to_string(i));
        button->setSelected(m_items[i] == selected);
        button->addTarget(
            [weak, i](Control&) {
                auto bar = std::static_pointer_cast<TabBar>(weak.lock());
                if (bar && bar->onItemTapped) {
                    auto onItemTapped = bar->onItemTapped;
                    onItemTapped(i);
                }
            },
            ControlEvent::TouchUpInside);
        m_buttons.push_back(button);
        addSubview(button);
    }
    setNeedsLayout();
    layoutIfNeeded();
}

void TabBar::setSelectedItem(const std::shared_ptr<TabBarItem>& item) {
    m_selectedItem = item;
    for (auto& button : m_buttons) {
        button->setSelected(button->item() == item);
    }
}

void TabBar::setTranslucent(bool translucent) {
    if (m_translucent == translucent) {
        return;
    }
    m_translucent = translucent;
    if (onTranslucencyChange) {
        onTranslucencyChange();
    }
}

void TabBar::itemChanged(TabBarItem& item) {
    for (auto& button : m_buttons) {
        if (button->item().get() == &item) {
            button->refresh();
        }
    }
}

void TabBar::layoutSubviews() {
    if (m_buttons.empty()) {
        return;
    }
    Rect b = bounds();
    double width = b.size.width / double(m_buttons.size());
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i]->setFrame(
            Rect{{b.origin.x + width * double(i), b.origin.y}, {width, b.size.height}});
    }
}

void TabBar::draw(BitmapContext& context, const Rect& rect) {
    if (!m_backgroundImage.isNull()) {
        context.drawImageUpright(m_backgroundImage, rect);
    } else {
        context.fillRect(rect, m_barTintColor.value_or(Color::whiteAlpha(0.97f, 1)));
    }
    if (!m_shadowImage.isNull()) {
        context.drawImageUpright(
            m_shadowImage, Rect{{rect.origin.x, rect.origin.y - 0.5}, {rect.size.width, 0.5}});
    } else {
        context.fillRect(Rect{rect.origin, {rect.size.width, 0.5}}, Color::whiteAlpha(0, 0.3f));
    }
}

}  // namespace platform
