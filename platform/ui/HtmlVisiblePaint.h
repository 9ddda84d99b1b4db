#pragma once

#include <litehtml.h>

namespace platform {

// Paints what of a laid-out document meets `clip` (page coordinates) into the context `hdc`
// stands for, visiting only the blocks whose boxes meet it: a frame of a long page costs
// what the screen shows, not the page. Blocks and what flows in them are painted in the
// engine's order (backgrounds of blocks, then floats, then inline content, each in document
// order). A block's content is taken to stay within its box (the school's pages keep to
// that); a document with positioned boxes, whose stacking the engine alone knows, is painted
// whole by the engine.
void paintVisible(litehtml::document& document, litehtml::uint_ptr hdc,
                  const litehtml::position& clip, bool hasPositioned);

}  // namespace platform
