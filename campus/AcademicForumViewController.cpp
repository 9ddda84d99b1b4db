#include "campus/AcademicForumViewController.h"

#include "platform/ui/View.h"

void AcademicForumViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    setTitle(kTitle);
}
