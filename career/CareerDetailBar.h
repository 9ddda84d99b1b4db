#pragma once

#include <functional>
#include <string>

namespace platform {
class ViewController;
}

// The navigation bar of the career detail screens, set up one way for all of them.
class CareerDetailBar {
public:
    // The title in white 19-point system font, the "返回" button calling `back` while the
    // screen lives (the button does not keep it alive), the bar in the career blue (which
    // stays on the shared bar after the screen has gone), and a 20-point strip without a
    // background at the top of the screen's view, under everything added later.
    static void setUp(platform::ViewController& screen, const std::string& title,
                      std::function<void()> back);
    // With a custom back button the stack's edge swipe would stop popping; clearing the
    // swipe's delegate keeps it working. Called as the screen appears.
    static void keepEdgeSwipeBack(platform::ViewController& screen);
};
