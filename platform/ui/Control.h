#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/ui/EnumFlags.h"
#include "platform/ui/View.h"

namespace platform {

enum class ControlEvent : unsigned {
    TouchDown = 1u << 0,
    TouchDownRepeat = 1u << 1,
    TouchDragInside = 1u << 2,
    TouchDragOutside = 1u << 3,
    TouchDragEnter = 1u << 4,
    TouchDragExit = 1u << 5,
    TouchUpInside = 1u << 6,
    TouchUpOutside = 1u << 7,
    TouchCancel = 1u << 8,
    ValueChanged = 1u << 12,
    PrimaryActionTriggered = 1u << 13,
    EditingDidBegin = 1u << 16,
    EditingChanged = 1u << 17,
    EditingDidEnd = 1u << 18,
    EditingDidEndOnExit = 1u << 19,
    AllTouchEvents = 0x00000FFFu,
    AllEditingEvents = 0x000F0000u,
    AllEvents = 0xFFFFFFFFu,
};

template <>
struct EnableFlags<ControlEvent> : std::true_type {};

enum class ControlState : unsigned {
    Normal = 0,
    Highlighted = 1u << 0,
    Disabled = 1u << 1,
    Selected = 1u << 2,
};

template <>
struct EnableFlags<ControlState> : std::true_type {};

enum class ContentHorizontalAlignment { Center, Left, Right, Fill };
enum class ContentVerticalAlignment { Center, Top, Bottom, Fill };

// The phone's UIControl: enabled/selected/highlighted state and target-action per event.
// A touch that goes down on an enabled control is tracked by it: TouchDown, drags, and
// TouchUpInside when it lifts inside (with the phone's generous margin). A disabled control
// passes its touches on up the responder chain.
class Control : public View {
public:
    using Action = std::function<void(Control&)>;
    using ActionId = std::uint64_t;

    using View::View;

    // Returns an id for removeTarget. Actions run in the order they were added.
    ActionId addTarget(Action action, ControlEvent events);
    void removeTarget(ActionId id);
    void removeAllTargets();
    ControlEvent allControlEvents() const;
    // Runs every action registered for any of the events.
    void sendActions(ControlEvent events);

    bool isEnabled() const { return m_enabled; }
    virtual void setEnabled(bool enabled);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted);
    ControlState state() const;

    bool isTracking() const { return m_tracking; }
    bool isTouchInside() const { return m_touchInside; }

    ContentHorizontalAlignment contentHorizontalAlignment() const { return m_horizontalAlignment; }
    void setContentHorizontalAlignment(ContentHorizontalAlignment alignment);
    ContentVerticalAlignment contentVerticalAlignment() const { return m_verticalAlignment; }
    void setContentVerticalAlignment(ContentVerticalAlignment alignment);

    void touchesBegan(const Touches& touches) override;
    void touchesMoved(const Touches& touches) override;
    void touchesEnded(const Touches& touches) override;
    void touchesCancelled(const Touches& touches) override;

    // How far outside its bounds a tracked touch still counts as inside.
    static constexpr double kTrackingMargin = 70;

protected:
    // Called after enabled, selected or highlighted changed, for subclasses that show state.
    virtual void stateDidChange() {}

private:
    struct Target {
        ActionId id;
        ControlEvent events;
        Action action;
    };
    bool isInsideForTracking(Point point) const;

    std::vector<Target> m_targets;
    ActionId m_nextId{1};
    bool m_enabled{true};
    bool m_selected{false};
    bool m_highlighted{false};
    bool m_tracking{false};
    bool m_touchInside{false};
    ContentHorizontalAlignment m_horizontalAlignment{ContentHorizontalAlignment::Center};
    ContentVerticalAlignment m_verticalAlignment{ContentVerticalAlignment::Center};
};

}  // namespace platform
