#pragma once

#include "platform/graphics/Geometry.h"

namespace platform {

// The device's main screen. The stand-in phone is 375 x 667 points at scale 2; tests and the
// terminal front end choose other sizes.
class Screen {
public:
    static Screen& main();

    Rect bounds() const { return Rect{{0, 0}, m_size}; }
    Size size() const { return m_size; }
    void setSize(Size size) { m_size = size; }
    double scale() const { return m_scale; }
    void setScale(double scale) { m_scale = scale > 0 ? scale : 1; }
    // The bounds less the status bar when it shows.
    Rect applicationFrame() const;

    // Back to 375 x 667 at scale 2.
    void reset();

private:
    Screen() = default;

    Size m_size{375, 667};
    double m_scale{2};
};

}  // namespace platform
