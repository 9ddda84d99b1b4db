#pragma once

#include <memory>
#include <string>

#include "platform/graphics/Image.h"

namespace platform {

class TabBar;

// The phone's UITabBarItem: what a tab's button shows. A tab bar showing the item updates
// as it changes.
class TabBarItem : public std::enable_shared_from_this<TabBarItem> {
public:
    TabBarItem() = default;
    TabBarItem(std::string title, const Image& image, const Image& selectedImage);

    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    const Image& image() const { return m_image; }
    void setImage(const Image& image);
    const Image& selectedImage() const { return m_selectedImage; }
    void setSelectedImage(const Image& image);
    // Empty: no badge.
    const std::string& badgeValue() const { return m_badgeValue; }
    void setBadgeValue(std::string value);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

private:
    friend class TabBar;
    void changed();

    std::string m_title;
    Image m_image;
    Image m_selectedImage;
    std::string m_badgeValue;
    bool m_enabled{true};
    int m_tag{0};
    std::weak_ptr<TabBar> m_bar;
};

}  // namespace platform
