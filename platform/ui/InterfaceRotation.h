#pragma once

#include <memory>

#include "platform/ui/InterfaceOrientation.h"

namespace platform {

class ViewController;

// The phone's rotation of the interface. The top controller of the key window (its root
// controller, or what that presents over the whole screen, to the topmost; a tablet's sheet
// leaves the decision to the screen under it) decides which orientations it takes; a
// container answers through the child it shows, and a controller that says nothing takes the
// orientations the application declares (Application::supportedInterfaceOrientations):
// from version 6 on through shouldAutorotate and supportedInterfaceOrientations, before
// through shouldAutorotateToInterfaceOrientation. A rotation then runs in the phone's order:
//   1. willRotateToInterfaceOrientation(to, duration) on every controller on screen, outer
//      first (containers, their children on screen, what they present);
//   2. the status bar and the screen's bounds turn; every window the size of the screen takes
//      the new bounds and lays out (views resize by their autoresizing masks, layoutSubviews
//      runs) — the layout pass;
//   3. a keyboard that is up announces its new frame;
//   4. didRotateFromInterfaceOrientation(from) on the same controllers.
// No animation is drawn: the rotation's end state holds when the call returns.
class InterfaceRotation {
public:
    // The duration handed to willRotate (the phone's rotation animation).
    static constexpr double kDuration = 0.4;

    // The controller that decides: nothing without a key window with a root controller.
    static std::shared_ptr<ViewController> topController();
    // Whether the top controller takes the orientation (true without one).
    static bool allows(InterfaceOrientation orientation);

    // Turns the interface to the device's orientation when the top controller takes it; keeps
    // it otherwise. A top controller that refuses even the orientation shown (a portrait-only
    // screen presented in landscape) turns it to the first it takes of portrait,
    // landscape-left, landscape-right, upside-down. Run when the device turns and when a
    // presentation begins or ends, as on the phone.
    static void attemptRotationToDeviceOrientation();

    // The rotation itself, asked of nobody; nothing when the interface has that orientation.
    static void rotate(InterfaceOrientation to);
};

}  // namespace platform
