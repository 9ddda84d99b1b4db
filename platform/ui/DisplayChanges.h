#pragma once

#include <cstdint>

namespace platform {

// A count of the changes that can alter what the screen shows: the view tree, a view's
// frame, look or content, an animation's step or end, a web page's script changing an
// element. A front end that draws the screen redraws only when the count has moved since
// its last frame, so an idle screen costs nothing. Main thread only.
//
// Counted where the change happens, and only for what can be seen (View::setNeedsDisplay:
// in the shown key window or a shown alert, nothing above it hidden or transparent): View's
// geometry and look setters, the view tree (adding, removing, reordering), the content
// setters of views that draw themselves, typing, alerts shown and dismissed, a new key
// window, and a web page's document changing. A setter given the value it already has counts
// nothing: layout passes re-set frames all the time. Animations apply their end state at
// once (see Animation.h), so their changes count through the same setters, and what their
// completions change counts when they run.
std::uint64_t displayGeneration();
void noteDisplayChange();

}  // namespace platform
