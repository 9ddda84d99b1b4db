#include "shell/ItemsViewController.h"

#include "platform/ui/View.h"
#include "widgets/SideMenuSwipe.h"

void ItemsViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    setTitle(kTitle);
}

void ItemsViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    // The side menu belongs to the home page; here its swipe would fight the screen's own.
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}
