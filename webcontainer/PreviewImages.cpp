#include "webcontainer/PreviewImages.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/DecodeBudget.h"
#include "platform/ui/Screen.h"
#include "webcontainer/ZoomScrollView.h"

// The largest a preview's picture is shown, in pixels: a page of the screen at the deepest
// zoom. With many pictures each gets less, so that all of them together take at most half of
// the decoded-picture budget (however they are shaped, a square one filling the page's longer
// side included) and the rest of the client keeps the other half.
platform::Size previewShownPixels(std::size_t count) {
    const auto& screen = platform::Screen::main();
    const double zoom = screen.scale() * ZoomScrollView::kMaximumZoom;
    platform::Size shown{screen.size().width * zoom, screen.size().height * zoom};
    const double share =
        double(platform::DecodeBudget::limit()) / 2 / double(std::max<std::size_t>(count, 1));
    const double side = std::max(shown.width, shown.height);
    const double fit = std::sqrt(share / 4) / side;
    if (fit < 1) {
        // Whole pixels, rounded down, so that rounding never takes a picture past its share.
        shown.width = std::floor(shown.width * fit);
        shown.height = std::floor(shown.height * fit);
    }
    return shown;
}
