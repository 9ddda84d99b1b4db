#include "widgets/SideMenuSwipe.h"

#include "components/sidemenu/SideViewController.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

void SideMenuSwipe::setNeedSwipeShowMenu(bool need) {
    auto window = platform::Application::shared().keyWindow();
    if (!window)
        return;
    if (auto side = std::dynamic_pointer_cast<platform::components::SideViewController>(
            window->rootViewController()))
        side->setNeedSwipeShowMenu(need);
}
