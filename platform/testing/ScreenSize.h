#pragma once

#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace platform::testing {

// The phone sizes screen geometry is checked at (points).
struct PhoneScreen {
    std::string name;
    Size size;
};
// 320 x 568, 375 x 667 and 414 x 736: the narrow, standard and wide phones.
const std::vector<PhoneScreen>& phoneScreens();

// Resets the main screen and gives it the size (held upright; a landscape interface sees it
// turned); the key window, if any, takes the new
// bounds so the next layout follows.
void useScreen(double width, double height);

// The main screen at a size for the lifetime of the object, then back to the size it had.
class ScreenSize {
public:
    ScreenSize(double width, double height);
    explicit ScreenSize(Size size) : ScreenSize(size.width, size.height) {}
    ~ScreenSize();
    ScreenSize(const ScreenSize&) = delete;
    ScreenSize& operator=(const ScreenSize&) = delete;

private:
    Size m_previous;
    double m_previousScale{2};
};

}  // namespace platform::testing
