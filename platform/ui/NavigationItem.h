#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform {

class BarButtonItem;
class NavigationBar;
class View;

// What a screen shows in the navigation bar while it is on top: a title (or a title view),
// bar button items on the left and right, and the back button settings. A bar showing the
// item updates as it changes.
class NavigationItem : public std::enable_shared_from_this<NavigationItem> {
public:
    NavigationItem() = default;
    explicit NavigationItem(std::string title) : m_title(std::move(title)) {}

    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    const std::shared_ptr<View>& titleView() const { return m_titleView; }
    void setTitleView(std::shared_ptr<View> view);

    // The first of the left (right) items; the first is the outermost.
    std::shared_ptr<BarButtonItem> leftBarButtonItem() const;
    void setLeftBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
    const std::vector<std::shared_ptr<BarButtonItem>>& leftBarButtonItems() const {
        return m_leftItems;
    }
    void setLeftBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items,
                               bool animated = false);
    std::shared_ptr<BarButtonItem> rightBarButtonItem() const;
    void setRightBarButtonItem(std::shared_ptr<BarButtonItem> item, bool animated = false);
    const std::vector<std::shared_ptr<BarButtonItem>>& rightBarButtonItems() const {
        return m_rightItems;
    }
    void setRightBarButtonItems(std::vector<std::shared_ptr<BarButtonItem>> items,
                                bool animated = false);

    // The item the next screen's back button shows for this screen (its title otherwise).
    const std::shared_ptr<BarButtonItem>& backBarButtonItem() const { return m_backItem; }
    void setBackBarButtonItem(std::shared_ptr<BarButtonItem> item);
    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides, bool animated = false);

private:
    friend class NavigationBar;
    void changed();

    std::string m_title;
    std::shared_ptr<View> m_titleView;
    std::vector<std::shared_ptr<BarButtonItem>> m_leftItems;
    std::vector<std::shared_ptr<BarButtonItem>> m_rightItems;
    std::shared_ptr<BarButtonItem> m_backItem;
    bool m_hidesBackButton{false};
    std::weak_ptr<NavigationBar> m_bar;
};

}  // namespace platform
