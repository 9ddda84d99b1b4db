#pragma once

#include <memory>
#include <string>

#include "platform/graphics/Geometry.h"
#include "platform/ui/Control.h"

namespace platform {
class Button;
class NavigationController;
class ViewController;
}  // namespace platform

// Ready-made navigation-bar buttons. Each returns a new button that is not in any view yet.
// The controller is the action's target: the action fires on touch-up-inside while the
// controller lives and does nothing once it is gone (the button does not keep it alive).

// (0, 0, 32.5, 27) with the bundle image "返回", named "back" for a screen reader.
std::shared_ptr<platform::Button> backBarBtnWithAction(platform::ViewController& controller,
                                                       platform::Control::Action action);
// The same button, standing at the right edge of the controller's view: x is its width.
std::shared_ptr<platform::Button> searchBarBtnWithAction(platform::ViewController& controller,
                                                         platform::Control::Action action);
// (0, 0, size) titled in the system font at 14.
std::shared_ptr<platform::Button> BarButtonWithSizeTitle(platform::ViewController& controller,
                                                         platform::Size size,
                                                         const std::string& title,
                                                         platform::Control::Action action);
// (0, 0, size) showing the named bundle image; the caller names its role for a screen reader.
std::shared_ptr<platform::Button> BarButtonWithSizeImgName(platform::ViewController& controller,
                                                           platform::Size size,
                                                           const std::string& imageName,
                                                           platform::Control::Action action);
// A new navigation controller with the controller as its root.
std::shared_ptr<platform::NavigationController> addNaviController(
    std::shared_ptr<platform::ViewController> controller);
