#pragma once

#include "platform/graphics/Geometry.h"

namespace platform {
class Button;
}

// A wider (or narrower) touch area for small buttons. The four edge values are kept in
// single precision, as the screens that set them expect, and are either all set or none.

// Sets top, right, bottom and left to the same value.
void setEnlargeEdge(platform::Button& button, float size);
// Sets each edge; a negative value takes room away on that side. A value that is not a
// number leaves the button as it was.
void setEnlargeEdgeWithTop(platform::Button& button, float top, float right, float bottom,
                           float left);
// The button's bounds reaching out by the edge values; the bounds when none were set.
platform::Rect enlargedRect(const platform::Button& button);
