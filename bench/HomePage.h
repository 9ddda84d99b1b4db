#pragma once

// The home page of a launched client, for the probes that wait on what it shows.

#include <memory>

#include "components/sidemenu/SideViewController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "shell/AppDelegate.h"
#include "shell/HomePageViewController.h"

namespace bench {

// The page at the root of the first tab; null when the launch did not build it.
inline std::shared_ptr<HomePageViewController> homePage(const AppDelegate& app) {
    auto tabs = std::dynamic_pointer_cast<platform::TabBarController>(
        app.sideViewController()->rootViewController());
    if (!tabs || tabs->viewControllers().empty())
        return nullptr;
    auto navigation =
        std::dynamic_pointer_cast<platform::NavigationController>(tabs->viewControllers()[0]);
    if (!navigation || navigation->viewControllers().empty())
        return nullptr;
    return std::dynamic_pointer_cast<HomePageViewController>(navigation->viewControllers()[0]);
}

}  // namespace bench
