#pragma once

#include <filesystem>

#include "platform/graphics/Image.h"

namespace platform {

class BitmapContext;
class View;
class Window;

// Drawing a view tree, the way the phone's layer rendering does: each view draws its
// background (rounded by its corner radius), clips to its bounds if asked, draws its own
// content (draw()), then its subviews in order, then its border; alpha and transforms
// apply to everything below them. Hidden views and views with alpha below 0.01 draw
// nothing.

// Draws `view` (not its position in its superview, its hidden flag or its transform) with
// its visible area at the context's origin.
void renderView(View& view, BitmapContext& context);

// What the phone's screen shows: the window laid out and drawn over the phone's white, the
// keyboard while it is up, the alerts that float above windows (alert and action-sheet views)
// over a dimmed screen, and on top the status bar unless the application hides it, into a
// context the size of the window's bounds (at the context's scale). Screenshots and
// the desktop window both draw through this, so they show the same pixels.
void renderScreen(Window& window, BitmapContext& context);

// What the screen shows (renderScreen) at scale 1, the size of the main screen.
Image renderScreenToImage(Window& window);

// The view tree at scale 1, the size of the view's bounds, laid out first. Empty for a
// view without area.
Image renderToImage(View& view);

// renderToImage written as PNG; false when there was nothing to write or writing failed.
bool renderToPNG(View& view, const std::filesystem::path& path);

}  // namespace platform
