#pragma once

#include <optional>
#include <string>

namespace platform::webkit {

// How a page is laid out and scaled on the phone's screen, from its <meta name="viewport">.
struct FitViewport {
    // The width the page is laid out at, in CSS pixels.
    double layoutWidth = 980;
    // The scale it opens at, and the bounds the user may zoom it within.
    double initialScale = 1;
    double minimumScale = 0.25;
    double maximumScale = 5;
    bool userScalable = true;
};

// As a phone's browser reads the viewport: "width=device-width" or a number (clamped to 1..10000),
// "initial-scale", "minimum-scale", "maximum-scale" (each clamped to 0.1..10) and
// "user-scalable" (no/0/false), separated by commas or semicolons. A page without one (or with
// nothing it understands) is laid out 980 pixels wide and opens fitted to the view's width.
// Without a width, an initial scale decides it (the view's width over the scale). The initial
// scale defaults to what fits the layout width to the view, and is kept within the bounds; the
// minimum never exceeds the maximum. A page that may not be scaled stays at its initial scale.
FitViewport fitViewport(const std::optional<std::string>& content, double viewWidth);

}  // namespace platform::webkit
