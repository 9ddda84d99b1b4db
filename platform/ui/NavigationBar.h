#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/graphics/Font.h"
#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace platform {

class BarButtonItem;
class Button;
class Label;
class NavigationItem;

// The font and colour of navigation bar titles (the phone's title text attributes).
struct TitleTextAttributes {
    std::optional<Font> font;
    std::optional<Color> color;
};

// The phone's UINavigationBar: shows the top item of its stack of navigation items as real
// views (title label or title view, bar button item views, a back button when the stack
// has an item below and the top item has no left items), which can be tapped and are drawn.
class NavigationBar : public View {
public:
    NavigationBar();

    static constexpr double kHeight = 44;

    std::optional<Color> barTintColor() const { return m_barTintColor; }
    void setBarTintColor(std::optional<Color> color) { setDisplayed(m_barTintColor, color); }
    bool isTranslucent() const { return m_translucent; }
    // A translucent bar lets the screen below run under it.
    void setTranslucent(bool translucent);
    const TitleTextAttributes& titleTextAttributes() const { return m_titleTextAttributes; }
    void setTitleTextAttributes(TitleTextAttributes attributes);
    const Image& backgroundImage() const { return m_backgroundImage; }
    void setBackgroundImage(const Image& image) { setDisplayed(m_backgroundImage, image); }
    const Image& shadowImage() const { return m_shadowImage; }
    void setShadowImage(const Image& image) { setDisplayed(m_shadowImage, image); }

    const std::vector<std::shared_ptr<NavigationItem>>& items() const { return m_items; }
    void setItems(std::vector<std::shared_ptr<NavigationItem>> items, bool animated = false);
    std::shared_ptr<NavigationItem> topItem() const;
    std::shared_ptr<NavigationItem> backItem() const;

    // Runs when the back button is tapped (the navigation controller pops).
    std::function<void()> onBack;
    // Runs when translucency changes (the navigation controller lays out again).
    std::function<void()> onTranslucencyChange;

    // The label that shows the top item's title (hidden while a title view shows).
    const std::shared_ptr<Label>& titleLabel() const { return m_titleLabel; }
    // The back button, or null when none shows.
    std::shared_ptr<Button> backButton() const { return m_backButton; }

    void layoutSubviews() override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;

private:
    friend class NavigationItem;
    struct Slot {
        std::shared_ptr<BarButtonItem> item;
        std::shared_ptr<View> view;
    };
    void itemChanged(NavigationItem& item);
    void reloadItemViews();
    void applyTitleAttributes();

    std::optional<Color> m_barTintColor;
    bool m_translucent{true};
    TitleTextAttributes m_titleTextAttributes;
    Image m_backgroundImage;
    Image m_shadowImage;
    std::vector<std::shared_ptr<NavigationItem>> m_items;
    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<View> m_shownTitleView;
    std::shared_ptr<Button> m_backButton;
    std::vector<Slot> m_left;
    std::vector<Slot> m_right;
};

}  // namespace platform
