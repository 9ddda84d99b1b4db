#pragma once

namespace platform {

class AlertView;

// The phone's UIAlertViewDelegate. A tap on a button calls clickedButtonAtIndex, then
// willDismissWithButtonIndex, then didDismissWithButtonIndex; a dismissal in code only the
// last two. All optional.
class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;

    virtual void clickedButtonAtIndex(AlertView& /*alert*/, int /*index*/) {}
    virtual void willDismissWithButtonIndex(AlertView& /*alert*/, int /*index*/) {}
    virtual void didDismissWithButtonIndex(AlertView& /*alert*/, int /*index*/) {}
};

}  // namespace platform
