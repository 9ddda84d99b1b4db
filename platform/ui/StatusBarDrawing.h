#pragma once

#include "platform/graphics/Geometry.h"

namespace platform {

class BitmapContext;
enum class StatusBarStyle;

// The phone's status bar as the system draws it over the application's screens, in the strip
// the screens leave for it: signal and Wi-Fi on the left, the time in the middle, the battery
// on the right, with no background of its own (what the screen paints there shows through).
// The stand-in device's time, network and battery never change, so the bar is the same on
// every screenshot; only its ink follows the style (white for light content, black for the
// default). It is drawn, not a view: nothing in it is tapped or listed.
void drawStatusBar(BitmapContext& context, const Rect& bar, StatusBarStyle style);

// The time the stand-in device's status bar always shows.
inline constexpr const char* kStatusBarTime = "8:15";

}  // namespace platform
