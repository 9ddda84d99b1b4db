#pragma once

#include "platform/graphics/Geometry.h"

namespace platform::testing {

// A clean stand-in phone for one test (or one run of the front end's script mode): for its
// lifetime the main run loop runs on a manual clock (unless asked not to), and the
// application, screen, alerts, keyboard and device stand-ins start fresh; afterwards they are
// reset again and the real clock is back, so no state leaks into the next test.
class UiTestScope {
public:
    explicit UiTestScope(Size screen = Size{375, 667}, bool manualClock = true);
    ~UiTestScope();
    UiTestScope(const UiTestScope&) = delete;
    UiTestScope& operator=(const UiTestScope&) = delete;

    // Moves the manual clock on, running whatever falls due on the way.
    void advance(double seconds);

private:
    bool m_manualClock{true};
};

}  // namespace platform::testing
