#pragma once

#include <memory>

#include "platform/ui/NavigationController.h"

// The navigation controller of every SDK screen: it always turns, to the orientations the
// settings allow (socialInterfaceOrientations).
class SHSocialNavigationController : public platform::NavigationController {
public:
    explicit SHSocialNavigationController(std::shared_ptr<platform::ViewController> root)
        : platform::NavigationController(std::move(root)) {}

    bool shouldAutorotate() const override { return true; }
    platform::InterfaceOrientationMask supportedInterfaceOrientations() const override;
};
