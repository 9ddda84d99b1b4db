#include "platform/web/HtmlBackground.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"

namespace platform {

namespace {

// Up to this many tiles are drawn one by one; more are filled as a pattern.
constexpr double kMaxSingleTiles = 64;

// The tiles' first and end index along one axis within [from, to), a single one when the
// picture does not repeat that way.
void tileRange(double origin, double tile, double from, double to, bool repeat, double& first,
               double& end) {
    if (!repeat) {
        first = 0;
        end = origin + tile > from && origin < to ? 1 : 0;
        return;
    }
    first = std::floor((from - origin) / tile);
    end = std::ceil((to - origin) / tile);
}

// The picture as it stands upright, one bitmap pixel per tile pixel, for a pattern.
Image uprightTile(const Image& picture, Size tile) {
    if (picture.orientation() == ImageOrientation::Up && picture.leftCapWidth() == 0 &&
        picture.topCapHeight() == 0) {
        return picture;
    }
    const int width = std::clamp(int(std::ceil(tile.width)), 1, 2048);
    const int height = std::clamp(int(std::ceil(tile.height)), 1, 2048);
    BitmapContext upright(width, height);
    upright.drawImageUpright(picture, Rect{{0, 0}, {double(width), double(height)}});
    return upright.makeImage();
}

}  // namespace

void paintBackgroundTiles(BitmapContext& context, const Image& picture,
                          const BackgroundTiling& tiling, const Rect& area) {
    const Size tile = tiling.tile;
    if (picture.isNull() || !(tile.width > 0) || !(tile.height > 0) || !std::isfinite(tile.width) ||
        !std::isfinite(tile.height)) {
        return;
    }
    const Rect shown = tiling.box.intersection(area);
    if (shown.isEmpty()) {
        return;
    }
    double firstColumn = 0;
    double endColumn = 0;
    double firstRow = 0;
    double endRow = 0;
    tileRange(tiling.origin.x, tile.width, shown.minX(), shown.maxX(), tiling.repeatX, firstColumn,
              endColumn);
    tileRange(tiling.origin.y, tile.height, shown.minY(), shown.maxY(), tiling.repeatY, firstRow,
              endRow);
    const double tiles = std::max(0.0, endColumn - firstColumn) * std::max(0.0, endRow - firstRow);
    if (tiles <= 0) {
        return;
    }
    context.saveState();
    context.clip(shown);
    if (tiles <= kMaxSingleTiles) {
        for (double row = firstRow; row < endRow; ++row) {
            for (double column = firstColumn; column < endColumn; ++column) {
                const Point at{tiling.origin.x + column * tile.width,
                               tiling.origin.y + row * tile.height};
                context.drawImageUpright(picture, Rect{at, tile});
            }
        }
        context.restoreState();
        return;
    }
    const Image upright = uprightTile(picture, tile);
    cairo_t* cr = context.cairo();
    cairo_surface_t* surface = upright.cairoSurface();
    if (cr && surface) {
        // The tiles' band: the rows (columns) the picture does not repeat over are one tile.
        const Rect band{
            {tiling.origin.x + firstColumn * tile.width, tiling.origin.y + firstRow * tile.height},
            {(endColumn - firstColumn) * tile.width, (endRow - firstRow) * tile.height}};
        const Rect filled = band.intersection(shown);
        cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
        cairo_matrix_t matrix;
        cairo_matrix_init_scale(&matrix, upright.pixelWidth() / tile.width,
                                upright.pixelHeight() / tile.height);
        // From the first tile shown rather than the box's first: the pattern's coordinates stay
        // small, as its fixed-point arithmetic needs, however far down a long page this is.
        cairo_matrix_translate(&matrix, -band.minX(), -band.minY());
        cairo_pattern_set_matrix(pattern, &matrix);
        cairo_save(cr);
        cairo_rectangle(cr, filled.minX(), filled.minY(), filled.width(), filled.height());
        cairo_clip(cr);
        cairo_set_source(cr, pattern);
        cairo_paint_with_alpha(cr, context.alpha());
        cairo_restore(cr);
        cairo_pattern_destroy(pattern);
    }
    context.restoreState();
}

}  // namespace platform
