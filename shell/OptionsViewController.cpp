#include "shell/OptionsViewController.h"

#include "platform/graphics/Color.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/View.h"

namespace {
constexpr const char* kTitle = "设置";
}

void OptionsViewController::viewDidLoad() {
    view()->setBackgroundColor(platform::Color::white());
    navigationItem().setTitle(kTitle);
}
