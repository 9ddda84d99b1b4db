#include "campus/AddressBookViewController.h"

#include "platform/graphics/Color.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "widgets/SideMenuSwipe.h"

namespace {
constexpr const char* kTitle = "通讯录";
}

void AddressBookViewController::loadView() {
    auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
    root->setBackgroundColor(platform::Color::white());
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    setView(root);
}

void AddressBookViewController::viewDidLoad() {
    navigationItem().setTitle(kTitle);
}

void AddressBookViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    // The side menu belongs to the home page; here its swipe would fight the screen's own.
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}
