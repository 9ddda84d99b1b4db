#include "platform/ui/Control.h"

#include <algorithm>

namespace platform {

Control::ActionId Control::addTarget(Action action, ControlEvent events) {
    if (!action) {
        return 0;
    }
    ActionId id = m_nextId++;
    m_targets.push_back(Target{id, events, std::move(action)});
    return id;
}

void Control::removeTarget(ActionId id) {
    std::erase_if(m_targets, [id](const Target& t) { return t.id == id; });
}

void Control::removeAllTargets() {
    m_targets.clear();
}

ControlEvent Control::allControlEvents() const {
    ControlEvent all{};
    for (const auto& target : m_targets) {
        all |= target.events;
    }
    return all;
}

void Control::sendActions(ControlEvent events) {
    // An action may close the screen that holds this control; keep it alive meanwhile and
    // run the actions that were registered when the event happened.
    auto self = weak_from_this().lock();
    std::vector<Action> actions;
    for (const auto& target : m_targets) {
        if (hasAny(target.events, events)) {
            actions.push_back(target.action);
        }
    }
    for (auto& action : actions) {
        action(*this);
    }
}

void Control::setEnabled(bool enabled) {
    if (m_enabled == enabled) {
        return;
    }
    m_enabled = enabled;
    if (!enabled) {
        m_highlighted = false;
    }
    // Inputs draw themselves dimmed while disabled.
    setNeedsDisplay();
    stateDidChange();
}

void Control::setSelected(bool selected) {
    if (m_selected == selected) {
        return;
    }
    m_selected = selected;
    stateDidChange();
}

void Control::setHighlighted(bool highlighted) {
    if (m_highlighted == highlighted) {
        return;
    }
    m_highlighted = highlighted;
    stateDidChange();
}

ControlState Control::state() const {
    ControlState state = ControlState::Normal;
    if (m_highlighted) {
        state |= ControlState::Highlighted;
    }
    if (!m_enabled) {
        state |= ControlState::Disabled;
    }
    if (m_selected) {
        state |= ControlState::Selected;
    }
    return state;
}

void Control::setContentHorizontalAlignment(ContentHorizontalAlignment alignment) {
    m_horizontalAlignment = alignment;
    setNeedsLayout();
}

void Control::setContentVerticalAlignment(ContentVerticalAlignment alignment) {
    m_verticalAlignment = alignment;
    setNeedsLayout();
}

bool Control::isInsideForTracking(Point point) const {
    return pointInside(point) ||
           bounds().insetBy(-kTrackingMargin, -kTrackingMargin).contains(point);
}

void Control::touchesBegan(const Touches& touches) {
    if (!m_enabled || touches.empty()) {
        View::touchesBegan(touches);
        return;
    }
    m_tracking = true;
    m_touchInside = true;
    setHighlighted(true);
    sendActions(ControlEvent::TouchDown);
}

void Control::touchesMoved(const Touches& touches) {
    if (!m_tracking || touches.empty()) {
        View::touchesMoved(touches);
        return;
    }
    bool inside = isInsideForTracking(touches.front().locationInView(this));
    bool wasInside = m_touchInside;
    m_touchInside = inside;
    setHighlighted(inside);
    if (inside != wasInside) {
        sendActions(inside ? ControlEvent::TouchDragEnter : ControlEvent::TouchDragExit);
    }
    sendActions(inside ? ControlEvent::TouchDragInside : ControlEvent::TouchDragOutside);
}

void Control::touchesEnded(const Touches& touches) {
    if (!m_tracking || touches.empty()) {
        View::touchesEnded(touches);
        return;
    }
    bool inside = isInsideForTracking(touches.front().locationInView(this));
    m_tracking = false;
    m_touchInside = false;
    setHighlighted(false);
    sendActions(inside ? ControlEvent::TouchUpInside : ControlEvent::TouchUpOutside);
}

void Control::touchesCancelled(const Touches& touches) {
    if (!m_tracking) {
        View::touchesCancelled(touches);
        return;
    }
    m_tracking = false;
    m_touchInside = false;
    setHighlighted(false);
    sendActions(ControlEvent::TouchCancel);
}

}  // namespace platform
