#pragma once

namespace platform {

class ActionSheet;

// The phone's UIActionSheetDelegate. A tap on a button calls clickedButtonAtIndex, then
// willDismissWithButtonIndex, then didDismissWithButtonIndex. All optional.
class ActionSheetDelegate {
public:
    virtual ~ActionSheetDelegate() = default;

    virtual void clickedButtonAtIndex(ActionSheet& /*sheet*/, int /*index*/) {}
    virtual void willDismissWithButtonIndex(ActionSheet& /*sheet*/, int /*index*/) {}
    virtual void didDismissWithButtonIndex(ActionSheet& /*sheet*/, int /*index*/) {}
};

}  // namespace platform
