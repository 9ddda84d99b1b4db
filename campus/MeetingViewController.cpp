#include "campus/MeetingViewController.h"

#include "platform/graphics/Color.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/View.h"
#include "widgets/SideMenuSwipe.h"

namespace {
constexpr const char* kTitle = "一周会议";
}

void MeetingViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    // The navigation item only: the tab keeps its own title "会议", which the sign-in gate reads.
    navigationItem().setTitle(kTitle);
}

void MeetingViewController::viewDidAppear(bool animated) {
    ViewController::viewDidAppear(animated);
    // The side menu belongs to the home page; here its swipe would fight the screen's own.
    SideMenuSwipe::setNeedSwipeShowMenu(false);
}
