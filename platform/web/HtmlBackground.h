#pragma once

#include "platform/graphics/Geometry.h"

namespace platform {

class BitmapContext;
class Image;

// How a page's background picture repeats over its box.
struct BackgroundTiling {
    // The box the picture is painted in (page coordinates).
    Rect box;
    // Where one tile stands, and its size; the others follow it across and down.
    Point origin;
    Size tile;
    bool repeatX = false;
    bool repeatY = false;
};

// Paints the tiles of the picture that meet `area` (the part of the page being drawn), and
// no others: a page may ask for a tiny picture over a box of any size, and the work must be
// what the screen shows. Many small tiles are painted as one repeating pattern.
void paintBackgroundTiles(BitmapContext& context, const Image& picture,
                          const BackgroundTiling& tiling, const Rect& area);

}  // namespace platform
