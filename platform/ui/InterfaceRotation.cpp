#include "platform/ui/InterfaceRotation.h"

#include <string>

#include "platform/ui/Application.h"
#include "platform/ui/Device.h"
#include "platform/ui/DisplayChanges.h"
#include "platform/ui/FormSheet.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

// Version 6 replaced the question asked of the top controller.
bool asksShouldAutorotate() {
    return Application::shared().systemVersionNumber() >= 6.0;
}

// A tablet's sheet or popover shows over a screen that stays; that screen keeps deciding, as
// the sheet is laid out for whatever the screen under it takes.
bool decidesOrientation(const ViewController& presented) {
    const ModalPresentationStyle style = presented.modalPresentationStyle();
    return !FormSheet::applies(style) && style != ModalPresentationStyle::Popover;
}

}  // namespace

std::shared_ptr<ViewController> InterfaceRotation::topController() {
    auto window = Application::shared().keyWindow();
    auto top = window ? window->rootViewController() : nullptr;
    while (top) {
        auto presented = top->presentedViewController();
        if (!presented || presented->isBeingDismissed() || !decidesOrientation(*presented)) {
            break;
        }
        top = presented;
    }
    return top;
}

bool InterfaceRotation::allows(InterfaceOrientation orientation) {
    if (orientation == InterfaceOrientation::Unknown) {
        return false;
    }
    auto top = topController();
    if (!top) {
        return true;
    }
    if (!asksShouldAutorotate()) {
        return top->shouldAutorotateToInterfaceOrientation(orientation);
    }
    return (top->supportedInterfaceOrientations() & maskOf(orientation)) != 0;
}

void InterfaceRotation::attemptRotationToDeviceOrientation() {
    const InterfaceOrientation current = Application::shared().statusBarOrientation();
    auto top = topController();
    // From version 6 on a controller that does not autorotate keeps what is shown, unless
    // it cannot show it at all.
    bool mayTurn = !top || !asksShouldAutorotate() || top->shouldAutorotate();
    auto wanted = interfaceOrientationFor(Device::current().orientation());
    if (mayTurn && wanted && allows(*wanted)) {
        rotate(*wanted);
        return;
    }
    if (allows(current)) {
        return;
    }
    for (auto fallback :
         {InterfaceOrientation::Portrait, InterfaceOrientation::LandscapeLeft,
          InterfaceOrientation::LandscapeRight, InterfaceOrientation::PortraitUpsideDown}) {
        if (allows(fallback)) {
            rotate(fallback);
            return;
        }
    }
}

void InterfaceRotation::rotate(InterfaceOrientation to) {
    Application& application = Application::shared();
    const InterfaceOrientation from = application.statusBarOrientation();
    if (to == from || to == InterfaceOrientation::Unknown) {
        return;
    }
    std::vector<std::shared_ptr<ViewController>> roots;
    for (auto& window : application.windows()) {
        if (auto root = window->rootViewController()) {
            roots.push_back(root);
        }
    }
    for (auto& root : roots) {
        root->willRotate(to, kDuration);
    }
    const Rect oldBounds = Screen::main().bounds();
    application.setStatusBarOrientation(to);
    for (auto& window : application.windows()) {
        if (window->frame() == oldBounds) {
            window->setFrame(Screen::main().bounds());
        }
        window->setNeedsLayoutBelow();
        window->layoutIfNeeded();
    }
    Keyboard::interfaceRotated();
    for (auto& root : roots) {
        root->didRotate(from);
    }
    noteDisplayChange();
}

}  // namespace platform
