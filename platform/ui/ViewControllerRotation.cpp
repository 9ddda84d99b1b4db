// ViewController: the rotation callbacks and questions.

#include "platform/ui/Application.h"
#include "platform/ui/ViewController.h"

namespace platform {

bool ViewController::shouldAutorotate() const {
    auto shown = childForRotation();
    return shown ? shown->shouldAutorotate() : true;
}

InterfaceOrientationMask ViewController::supportedInterfaceOrientations() const {
    if (auto shown = childForRotation())
        return shown->supportedInterfaceOrientations();
    return Application::shared().supportedInterfaceOrientations();
}

bool ViewController::shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) {
    if (auto shown = childForRotation())
        return shown->shouldAutorotateToInterfaceOrientation(orientation);
    return (supportedInterfaceOrientations() & maskOf(orientation)) != 0;
}

InterfaceOrientation ViewController::interfaceOrientation() const {
    return Application::shared().statusBarOrientation();
}

void ViewController::willRotate(InterfaceOrientation to, double duration) {
    auto self = weak_from_this().lock();
    willRotateToInterfaceOrientation(to, duration);
    for (auto& child : childrenForAppearance()) {
        child->willRotate(to, duration);
    }
    if (auto presented = m_presented) {
        presented->willRotate(to, duration);
    }
}

void ViewController::didRotate(InterfaceOrientation from) {
    auto self = weak_from_this().lock();
    didRotateFromInterfaceOrientation(from);
    for (auto& child : childrenForAppearance()) {
        child->didRotate(from);
    }
    if (auto presented = m_presented) {
        presented->didRotate(from);
    }
}

}  // namespace platform
