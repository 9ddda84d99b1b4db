#include "platform/ui/TabBarItem.h"

#include "platform/ui/TabBar.h"

namespace platform {

TabBarItem::TabBarItem(std::string title, const Image& image, const Image& selectedImage)
    : m_title(std::move(title)), m_image(image), m_selectedImage(selectedImage) {}

void TabBarItem::setTitle(std::string title) {
    m_title = std::move(title);
    changed();
}

void TabBarItem::setImage(const Image& image) {
    m_image = image;
    changed();
}

void TabBarItem::setSelectedImage(const Image& image) {
    m_selectedImage = image;
    changed();
}

void TabBarItem::setBadgeValue(std::string value) {
    m_badgeValue = std::move(value);
    changed();
}

void TabBarItem::setEnabled(bool enabled) {
    m_enabled = enabled;
    changed();
}

void TabBarItem::changed() {
    if (auto bar = m_bar.lock()) {
        bar->itemChanged(*this);
    }
}

}  // namespace platform
