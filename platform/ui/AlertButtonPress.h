#pragma once

#include "platform/ui/AlertPresenter.h"

namespace platform {

// What pressing a button of an alert view or action sheet does, as their delegates (which
// have the same steps) hear it. `Alert` has delegate(), isVisible() and numberOfButtons().

// Will-dismiss, off the screen, did-dismiss: headless alerts vanish at once, so did-dismiss
// follows will-dismiss directly.
template <typename Alert>
void dismissAlert(Alert& alert, int index) {
    if (auto delegate = alert.delegate()) {
        delegate->willDismissWithButtonIndex(alert, index);
    }
    AlertPresenter::shared().remove(&alert);
    if (auto delegate = alert.delegate()) {
        delegate->didDismissWithButtonIndex(alert, index);
    }
}

// Code's dismissal of a shown alert: no click.
template <typename Alert>
void dismissAlertWithButtonIndex(Alert& alert, int index) {
    if (!alert.isVisible()) {
        return;
    }
    auto self = alert.weak_from_this().lock();
    dismissAlert(alert, index);
}

// A user's tap: clicked, then the dismissal. False when the alert is not shown or has no
// such button.
template <typename Alert>
bool pressAlertButton(Alert& alert, int index) {
    if (!alert.isVisible() || index < 0 || index >= alert.numberOfButtons()) {
        return false;
    }
    auto self = alert.weak_from_this().lock();
    if (auto delegate = alert.delegate()) {
        delegate->clickedButtonAtIndex(alert, index);
    }
    dismissAlert(alert, index);
    return true;
}

}  // namespace platform
