#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace platform {

class TabBarButton;
class TabBarItem;

// The phone's UITabBar: one button per item, side by side across the bar; the selected one
// is drawn in the tint colour. Tapping a button only reports the tap (onItemTapped); the tab
// bar controller decides whether the selection changes.
class TabBar : public View {
public:
    TabBar();

    static constexpr double kHeight = 49;

    const std::vector<std::shared_ptr<TabBarItem>>& items() const { return m_items; }
    void setItems(std::vector<std::shared_ptr<TabBarItem>> items, bool animated = false);
    std::shared_ptr<TabBarItem> selectedItem() const { return m_selectedItem.lock(); }
    void setSelectedItem(const std::shared_ptr<TabBarItem>& item);
    const std::vector<std::shared_ptr<TabBarButton>>& itemButtons() const { return m_buttons; }

    std::optional<Color> barTintColor() const { return m_barTintColor; }
    void setBarTintColor(std::optional<Color> color) { setDisplayed(m_barTintColor, color); }
    bool isTranslucent() const { return m_translucent; }
    // A translucent bar lets the screens run under it.
    void setTranslucent(bool translucent);
    const Image& backgroundImage() const { return m_backgroundImage; }
    void setBackgroundImage(const Image& image) { setDisplayed(m_backgroundImage, image); }
    const Image& shadowImage() const { return m_shadowImage; }
    void setShadowImage(const Image& image) { setDisplayed(m_shadowImage, image); }

    // The index of the tapped item's button.
    std::function<void(size_t)> onItemTapped;
    // Runs when translucency changes (the tab bar controller lays out again).
    std::function<void()> onTranslucencyChange;

    void layoutSubviews() override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override { return "tab bar"; }

private:
    friend class TabBarItem;
    void itemChanged(TabBarItem& item);

    std::vector<std::shared_ptr<TabBarItem>> m_items;
    std::vector<std::shared_ptr<TabBarButton>> m_buttons;
    std::weak_ptr<TabBarItem> m_selectedItem;
    std::optional<Color> m_barTintColor;
    bool m_translucent{true};
    Image m_backgroundImage;
    Image m_shadowImage;
};

}  // namespace platform
