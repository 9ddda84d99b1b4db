#pragma once

#include "platform/graphics/Geometry.h"

namespace platform {

// The phone's image orientations, in its order and with its meaning: how the stored bitmap
// must be turned to appear upright.
enum class ImageOrientation {
    Up,             // as stored
    Down,           // turned 180°
    Left,           // turned 90° counter-clockwise
    Right,          // turned 90° clockwise
    UpMirrored,     // flipped horizontally
    DownMirrored,   // flipped vertically
    LeftMirrored,   // flipped horizontally, then turned 90° counter-clockwise (a transpose)
    RightMirrored,  // flipped horizontally, then turned 90° clockwise
};

// True for the four orientations whose upright image has width and height swapped.
bool swapsWidthAndHeight(ImageOrientation orientation);

// Maps a stored bitmap of pixelWidth × pixelHeight (origin top-left, y down) onto its
// upright form, in pixels.
AffineTransform uprightTransform(ImageOrientation orientation, int pixelWidth, int pixelHeight);

}  // namespace platform
