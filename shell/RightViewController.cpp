#include "shell/RightViewController.h"

#include "client/MyTool.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"

namespace {
constexpr const char* kBackgroundColor = "696056";
}

void RightViewController::loadView() {
    auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
    root->setBackgroundColor(MyTool::colorWithString(kBackgroundColor));
    root->setAutoresizingMask(platform::AutoresizingMask::FlexibleWidth |
                              platform::AutoresizingMask::FlexibleHeight);
    setView(root);
}
