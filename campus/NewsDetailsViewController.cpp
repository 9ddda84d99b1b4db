#include "campus/NewsDetailsViewController.h"

#include "platform/ui/View.h"

void NewsDetailsViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    setTitle(kTitle);
}
