#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"

namespace platform {

class View;

enum class BarButtonItemStyle { Plain, Bordered, Done };

enum class BarButtonSystemItem {
    Done,
    Cancel,
    Edit,
    Save,
    Add,
    FlexibleSpace,
    FixedSpace,
    Compose,
    Reply,
    Action,
    Search,
    Refresh,
    Stop,
    Trash,
};

// The phone's UIBarButtonItem: a title, an image or a custom view shown in a navigation bar,
// with an action on tap. The item makes (and keeps) the view a bar shows for it; a custom
// view is shown as it is, and its own actions are its business.
class BarButtonItem : public std::enable_shared_from_this<BarButtonItem> {
public:
    using Action = std::function<void(BarButtonItem&)>;

    BarButtonItem(std::string title, BarButtonItemStyle style, Action action = {});
    BarButtonItem(const Image& image, BarButtonItemStyle style, Action action = {});
    explicit BarButtonItem(std::shared_ptr<View> customView);
    explicit BarButtonItem(BarButtonSystemItem systemItem, Action action = {});
    ~BarButtonItem();

    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    const Image& image() const { return m_image; }
    void setImage(const Image& image);
    const std::shared_ptr<View>& customView() const { return m_customView; }
    void setCustomView(std::shared_ptr<View> view);
    BarButtonItemStyle style() const { return m_style; }
    void setStyle(BarButtonItemStyle style);
    std::optional<BarButtonSystemItem> systemItem() const { return m_systemItem; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Width of a fixed space (may be negative, to pull the next item outwards).
    double width() const { return m_width; }
    void setWidth(double width) { m_width = width; }
    std::optional<Color> tintColor() const { return m_tintColor; }
    void setTintColor(std::optional<Color> color);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    void setAction(Action action) { m_action = std::move(action); }
    // What a tap on the item's button does.
    void perform();

    bool isSpace() const;
    // The view a bar shows: the custom view, or a button made for the title or image.
    // Null for spaces.
    std::shared_ptr<View> view();

private:
    void refreshButton();

    std::string m_title;
    Image m_image;
    std::shared_ptr<View> m_customView;
    std::shared_ptr<View> m_button;
    BarButtonItemStyle m_style{BarButtonItemStyle::Plain};
    std::optional<BarButtonSystemItem> m_systemItem;
    bool m_enabled{true};
    double m_width{0};
    std::optional<Color> m_tintColor;
    int m_tag{0};
    Action m_action;
};

}  // namespace platform
