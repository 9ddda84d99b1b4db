#pragma once

#include <cstdint>

namespace platform {

// A count of the changes that can alter what the screen shows: the view tree, a view's
// frame, look or content, an animation's step or end, a web page's script changing an
// element. A front end that draws the screen redraws only when the count has moved since
// its last frame, so an idle screen costs nothing. Main thread only.
std::uint64_t displayGeneration();
void noteDisplayChange();

}  // namespace platform
