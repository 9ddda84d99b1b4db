#include "shell/OptionsViewController.h"

#include "platform/graphics/Color.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/View.h"
#include "widgets/SideMenuSwipe.h"

namespace {
constexpr const char* kTitle = "设置";
}

void OptionsViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    navigationItem().setTitle(kTitle);
}

void OptionsViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    // The side menu belongs to the home page; here its swipe would fight the screen's own.
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}
