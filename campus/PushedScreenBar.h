#pragma once

#include <functional>
#include <string>

namespace platform {
class ViewController;
}

// The navigation bar of the campus screens that are pushed onto a stack: the title in white
// 19-point system font and, as left item, the "返回" button calling `back` while the screen
// lives (the button does not keep it alive).
void setUpPushedScreenBar(platform::ViewController& screen, const std::string& title,
                          std::function<void()> back);

// With a custom back button the stack's edge swipe would stop popping; clearing the swipe's
// delegate keeps it working. Called as the screen appears.
void keepEdgeSwipeBack(platform::ViewController& screen);
