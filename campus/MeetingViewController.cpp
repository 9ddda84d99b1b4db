#include "campus/MeetingViewController.h"

#include "platform/graphics/Color.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/View.h"

namespace {
constexpr const char* kTitle = "一周会议";
}

void MeetingViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    // The navigation item only: the tab keeps its own title "会议", which the sign-in gate reads.
    navigationItem().setTitle(kTitle);
}
