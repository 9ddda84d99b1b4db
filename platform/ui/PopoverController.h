#pragma once

#include <memory>

#include "platform/graphics/Geometry.h"
#include "platform/ui/EnumFlags.h"

namespace platform {

class PopoverController;
class View;
class ViewController;

// Which sides of the popover its arrow may point from: Up puts the popover below the
// rectangle, Down above it, Left to its right, Right to its left.
enum class PopoverArrowDirection : unsigned {
    Unknown = 0,
    Up = 1u << 0,
    Down = 1u << 1,
    Left = 1u << 2,
    Right = 1u << 3,
    Any = Up | Down | Left | Right,
};
template <>
struct EnableFlags<PopoverArrowDirection> : std::true_type {};

class PopoverControllerDelegate {
public:
    virtual ~PopoverControllerDelegate() = default;
    // A tap outside the popover asks first; answering false keeps it.
    virtual bool popoverControllerShouldDismissPopover(PopoverController&) { return true; }
    // After a tap outside closed it (not after dismissPopover).
    virtual void popoverControllerDidDismissPopover(PopoverController&) {}
};

// The tablet's UIPopoverController: a content controller shown in a panel beside a rectangle
// of a view, with an arrow pointing at it, over the whole window. A tap anywhere outside the
// panel closes it (asking the delegate); dismissPopover closes it from code. While it shows,
// the window keeps it alive. Main thread only.
class PopoverController : public std::enable_shared_from_this<PopoverController> {
public:
    static constexpr Size kDefaultContentSize{320, 480};
    // Kept clear of the window's edges (and the status bar at the top).
    static constexpr double kMargin = 10;

    explicit PopoverController(std::shared_ptr<ViewController> content);
    ~PopoverController();
    PopoverController(const PopoverController&) = delete;
    PopoverController& operator=(const PopoverController&) = delete;

    const std::shared_ptr<ViewController>& contentViewController() const { return m_content; }
    Size popoverContentSize() const { return m_contentSize; }
    void setPopoverContentSize(Size size) { m_contentSize = size; }
    void setDelegate(std::weak_ptr<PopoverControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    // Shows the panel beside `rect` (in `view`'s coordinates) on the first permitted side
    // where the content fits, else on the permitted side with the most room, shrunk to it;
    // when the window turns it is placed so again. Nothing when it shows already or the view
    // is in no window.
    void presentFromRect(const Rect& rect, View& view, PopoverArrowDirection directions,
                         bool animated);
    void dismissPopover(bool animated);
    bool isPopoverVisible() const { return m_panel != nullptr; }
    // The side the arrow points from while it shows; Unknown otherwise.
    PopoverArrowDirection popoverArrowDirection() const { return m_arrow; }
    // The panel in window coordinates; empty while hidden.
    Rect panelFrame() const;

    // The popover showing last, while it shows (tests, the front end).
    static std::shared_ptr<PopoverController> visible();

private:
    class Backdrop;
    friend class Backdrop;
    void tappedOutside();
    void close();
    // Puts the panel and its arrow beside the rectangle, within `window`'s bounds.
    void place(const View& window);

    std::shared_ptr<ViewController> m_content;
    std::weak_ptr<PopoverControllerDelegate> m_delegate;
    Size m_contentSize{kDefaultContentSize};
    std::shared_ptr<View> m_backdrop;
    std::shared_ptr<View> m_panel;
    std::shared_ptr<View> m_arrowView;
    std::weak_ptr<View> m_anchorView;
    Rect m_anchorRect;
    PopoverArrowDirection m_directions{PopoverArrowDirection::Any};
    PopoverArrowDirection m_arrow{PopoverArrowDirection::Unknown};
};

}  // namespace platform
