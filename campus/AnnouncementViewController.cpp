#include "campus/AnnouncementViewController.h"

#include "platform/ui/View.h"

void AnnouncementViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    setTitle(kTitle);
}
