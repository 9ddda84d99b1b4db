#pragma once

#include "platform/graphics/Geometry.h"
#include "platform/ui/InterfaceOrientation.h"

namespace platform {

// The device's main screen. The stand-in phone is 375 x 667 points at scale 2; tests and the
// terminal front end choose other sizes (a tablet is 768 x 1024).
//
// As on the phone from version 8 on, the bounds follow the interface: in a landscape
// interface they are the portrait size with width and height exchanged.
class Screen {
public:
    static Screen& main();

    Rect bounds() const { return Rect{{0, 0}, size()}; }
    Size size() const;
    // The screen held upright, whatever the interface's orientation.
    Size portraitSize() const { return m_size; }
    // Sets the size the screen has held upright.
    void setSize(Size size) { m_size = size; }
    double scale() const { return m_scale; }
    void setScale(double scale) { m_scale = scale > 0 ? scale : 1; }
    // The bounds less the status bar when it shows.
    Rect applicationFrame() const;

    // Which way the bounds are turned: the application's status bar orientation, which turns
    // with the interface.
    InterfaceOrientation interfaceOrientation() const;

    // Back to 375 x 667 at scale 2 (the orientation is the application's to reset).
    void reset();

private:
    Screen() = default;

    Size m_size{375, 667};
    double m_scale{2};
};

}  // namespace platform
