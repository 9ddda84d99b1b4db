#include "shell/ItemsViewController.h"

#include "platform/ui/View.h"

void ItemsViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    setTitle(kTitle);
}
