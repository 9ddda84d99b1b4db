#pragma once

#include <memory>

#include "platform/graphics/Geometry.h"

namespace platform {
class View;
class ViewController;
}  // namespace platform

// The tablet's sizing of the SDK's screens: they are presented in a sheet, and the view that
// holds their navigation controller's view (the sheet) takes the configured boundsForiPad.
namespace SHSPadBounds {

// 533 x 545: the size used when the configured rectangle is the null rectangle (no size).
inline constexpr platform::Size kNullFallback{533, 545};

bool onPad();
// The configured rectangle; with `nullFallback`, kNullFallback when it has no size.
platform::Rect configured(bool nullFallback);
// The view holding the screen's navigation view; none when there is no navigation controller
// or its view sits straight in the window (a full-screen presentation, whose window keeps the
// screen's size).
std::shared_ptr<platform::View> holder(platform::ViewController& screen);
// Gives the holder the configured bounds; nothing without a holder. Answers the bounds given.
platform::Rect apply(platform::ViewController& screen, bool nullFallback);

}  // namespace SHSPadBounds
