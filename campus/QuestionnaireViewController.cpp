#include "campus/QuestionnaireViewController.h"

#include "platform/ui/View.h"

void QuestionnaireViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    setTitle(kTitle);
}
