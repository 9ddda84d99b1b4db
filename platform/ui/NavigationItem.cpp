#include "platform/ui/NavigationItem.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationBar.h"

namespace platform {

void NavigationItem::setTitle(std::string title) {
    m_title = std::move(title);
    changed();
}

void NavigationItem::setTitleView(std::shared_ptr<View> view) {
    m_titleView = std::move(view);
    changed();
}

std::shared_ptr<BarButtonItem> NavigationItem::leftBarButtonItem() const {
    return m_leftItems.empty() ? nullptr : m_leftItems.front();
}

void NavigationItem::setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated) {
    std::vector<std::shared_ptr<BarButtonItem>> items;
    if (item) {
        items.push_back(std::move(item));
    }
    setLeftBarButtonItems(std::move(items), animated);
}

void NavigationItem::setLeftBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items,
                                           bool /*animated*/) {
    std::erase(items, nullptr);
    m_leftItems = std::move(items);
    changed();
}

std::shared_ptr<BarButtonItem> NavigationItem::rightBarButtonItem() const {
    return m_rightItems.empty() ? nullptr : m_rightItems.front();
}

void NavigationItem::setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated) {
    std::vector<std::shared_ptr<BarButtonItem>> items;
    if (item) {
        items.push_back(std::move(item));
    }
    setRightBarButtonItems(std::move(items), animated);
}

void NavigationItem::setRightBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items,
                                            bool /*animated*/) {
    std::erase(items, nullptr);
    m_rightItems = std::move(items);
    changed();
}

void NavigationItem::setBackBarButtonItem(std::shared_ptr<BarButtonItem> item) {
    m_backItem = std::move(item);
    changed();
}

void NavigationItem::setHidesBackButton(bool hides, bool /*animated*/) {
    m_hidesBackButton = hides;
    changed();
}

void NavigationItem::changed() {
    if (auto bar = m_bar.lock()) {
        bar->itemChanged(*this);
    }
}

}  // namespace platform
