#include "shell/EmailWebViewController.h"

#include "platform/ui/View.h"

void EmailWebViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    setTitle(kTitle);
}
