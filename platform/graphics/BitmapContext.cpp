#include "platform/graphics/BitmapContext.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/graphics/PangoText.h"
#include "platform/graphics/PixelFormat.h"
#include "platform/graphics/PngCodec.h"

namespace platform {

namespace {

int pixelsFor(double extent) {
    if (!std::isfinite(extent) || extent <= 0) {
        return 0;
    }
    // A little slack so 100.00000001 points from arithmetic do not cost a whole pixel.
    double pixels = std::ceil(extent - 1e-6);
    return pixels > pixels::kMaxSide ? pixels::kMaxSide + 1 : static_cast<int>(pixels);
}

bool finite(const Rect& r) {
    return std::isfinite(r.origin.x) && std::isfinite(r.origin.y) && std::isfinite(r.size.width) &&
           std::isfinite(r.size.height);
}

// Cairo turns a singular or non-finite matrix into a permanent error on the context, so such
// transforms are refused before they reach it.
bool usable(const AffineTransform& t) {
    double det = t.a * t.d - t.b * t.c;
    return std::isfinite(t.a) && std::isfinite(t.b) && std::isfinite(t.c) && std::isfinite(t.d) &&
           std::isfinite(t.tx) && std::isfinite(t.ty) && std::isfinite(det) && det != 0;
}

cairo_matrix_t toCairo(const AffineTransform& t) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, t.a, t.b, t.c, t.d, t.tx, t.ty);
    return m;
}

}  // namespace

BitmapContext::BitmapContext(Size pointSize, double scale, bool opaque)
    : m_scale(std::isfinite(scale) && scale > 0 ? scale : 1) {
    int width = pixelsFor(pointSize.width * m_scale);
    int height = pixelsFor(pointSize.height * m_scale);
    // Both sides count: Cairo would accept 0 × 40000 and then refuse to snapshot it.
    if (width > pixels::kMaxSide || height > pixels::kMaxSide ||
        static_cast<long long>(width) * height > pixels::kMaxPixels) {
        width = -1;  // an error surface: every operation on it does nothing
    }
    m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    m_cairo = cairo_create(m_surface);
    cairo_scale(m_cairo, m_scale, m_scale);
    if (opaque) {
        cairo_set_source_rgb(m_cairo, 0, 0, 0);
        cairo_paint(m_cairo);
    }
}

BitmapContext::BitmapContext(int pixelWidth, int pixelHeight)
    : BitmapContext(Size{static_cast<double>(pixelWidth), static_cast<double>(pixelHeight)}, 1,
                    false) {}

BitmapContext::~BitmapContext() {
    cairo_destroy(m_cairo);
    cairo_surface_destroy(m_surface);
}

bool BitmapContext::isValid() const {
    return cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS &&
           cairo_status(m_cairo) == CAIRO_STATUS_SUCCESS;
}

int BitmapContext::pixelWidth() const {
    return isValid() ? cairo_image_surface_get_width(m_surface) : 0;
}

int BitmapContext::pixelHeight() const {
    return isValid() ? cairo_image_surface_get_height(m_surface) : 0;
}

void BitmapContext::concat(const AffineTransform& transform) {
    if (!usable(transform)) {
        return;
    }
    cairo_matrix_t m = toCairo(transform);
    cairo_transform(m_cairo, &m);
}

void BitmapContext::translate(double x, double y) {
    concat(AffineTransform::makeTranslation(x, y));
}

void BitmapContext::rotate(double radians) {
    concat(AffineTransform::makeRotation(radians));
}

void BitmapContext::scale(double sx, double sy) {
    concat(AffineTransform::makeScale(sx, sy));
}

AffineTransform BitmapContext::currentTransform() const {
    cairo_matrix_t m;
    cairo_get_matrix(m_cairo, &m);
    return AffineTransform{m.xx, m.yx, m.xy, m.yy, m.x0, m.y0};
}

void BitmapContext::useBottomLeftOrigin() {
    if (m_bottomLeftOrigin) {
        return;
    }
    m_bottomLeftOrigin = true;
    translate(0, pixelHeight() / m_scale);
    scale(1, -1);
}

void BitmapContext::saveState() {
    cairo_save(m_cairo);
    m_savedAlpha.push_back(m_alpha);
}

void BitmapContext::restoreState() {
    // An unbalanced restore would put Cairo into a permanent error state.
    if (m_savedAlpha.empty()) {
        return;
    }
    cairo_restore(m_cairo);
    m_alpha = m_savedAlpha.back();
    m_savedAlpha.pop_back();
}

void BitmapContext::clip(const Rect& rect) {
    if (!finite(rect)) {
        return;
    }
    cairo_rectangle(m_cairo, rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_clip(m_cairo);
}

void BitmapContext::setAlpha(double alpha) {
    if (std::isnan(alpha)) {
        return;
    }
    m_alpha = std::clamp(alpha, 0.0, 1.0);
}

void BitmapContext::setSource(const Color& color) {
    cairo_set_source_rgba(m_cairo, color.red, color.green, color.blue,
                          std::clamp(static_cast<double>(color.alpha), 0.0, 1.0) * m_alpha);
}

void BitmapContext::fillRect(const Rect& rect, const Color& color) {
    if (!finite(rect) || rect.isEmpty()) {
        return;
    }
    setSource(color);
    cairo_rectangle(m_cairo, rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_fill(m_cairo);
}

void BitmapContext::strokeRect(const Rect& rect, const Color& color, double lineWidth) {
    if (!finite(rect) || !std::isfinite(lineWidth) || lineWidth <= 0) {
        return;
    }
    setSource(color);
    cairo_set_line_width(m_cairo, lineWidth);
    cairo_rectangle(m_cairo, rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_stroke(m_cairo);
}

void BitmapContext::roundedRectPath(const Rect& rect, double radius) {
    double r = std::isfinite(radius)
                   ? std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / 2)
                   : 0;
    double left = rect.minX(), top = rect.minY(), right = rect.maxX(), bottom = rect.maxY();
    constexpr double kQuarter = std::numbers::pi / 2;
    cairo_new_sub_path(m_cairo);
    cairo_arc(m_cairo, right - r, top + r, r, -kQuarter, 0);
    cairo_arc(m_cairo, right - r, bottom - r, r, 0, kQuarter);
    cairo_arc(m_cairo, left + r, bottom - r, r, kQuarter, 2 * kQuarter);
    cairo_arc(m_cairo, left + r, top + r, r, 2 * kQuarter, 3 * kQuarter);
    cairo_close_path(m_cairo);
}

void BitmapContext::fillRoundedRect(const Rect& rect, double radius, const Color& color) {
    if (!finite(rect) || rect.isEmpty()) {
        return;
    }
    setSource(color);
    roundedRectPath(rect, radius);
    cairo_fill(m_cairo);
}

void BitmapContext::strokeRoundedRect(const Rect& rect, double radius, const Color& color,
                                      double lineWidth) {
    if (!finite(rect) || !std::isfinite(lineWidth) || lineWidth <= 0) {
        return;
    }
    setSource(color);
    cairo_set_line_width(m_cairo, lineWidth);
    roundedRectPath(rect, radius);
    cairo_stroke(m_cairo);
}

void BitmapContext::fillEllipse(const Rect& rect, const Color& color) {
    if (!finite(rect) || rect.isEmpty()) {
        return;
    }
    setSource(color);
    cairo_save(m_cairo);
    cairo_translate(m_cairo, rect.midX(), rect.midY());
    cairo_scale(m_cairo, rect.width() / 2, rect.height() / 2);
    cairo_new_sub_path(m_cairo);
    cairo_arc(m_cairo, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_restore(m_cairo);
    cairo_fill(m_cairo);
}

void BitmapContext::strokeLine(Point from, Point to, const Color& color, double lineWidth) {
    if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) ||
        !std::isfinite(to.y) || !std::isfinite(lineWidth) || lineWidth <= 0) {
        return;
    }
    setSource(color);
    cairo_set_line_width(m_cairo, lineWidth);
    cairo_move_to(m_cairo, from.x, from.y);
    cairo_line_to(m_cairo, to.x, to.y);
    cairo_stroke(m_cairo);
}

void BitmapContext::setStrokeColor(const Color& color) {
    m_strokeColor = color;
}

void BitmapContext::setLineWidth(double lineWidth) {
    if (std::isfinite(lineWidth) && lineWidth >= 0) {
        m_lineWidth = lineWidth;
    }
}

void BitmapContext::beginPath() {
    m_path.clear();
}

void BitmapContext::moveToPoint(Point point) {
    m_path.push_back({point, false});
}

void BitmapContext::addLineToPoint(Point point) {
    m_path.push_back({point, !m_path.empty()});
}

void BitmapContext::strokePath() {
    bool any = false;
    for (const auto& [point, line] : m_path) {
        if (!std::isfinite(point.x) || !std::isfinite(point.y)) {
            continue;
        }
        if (line) {
            cairo_line_to(m_cairo, point.x, point.y);
            any = true;
        } else {
            cairo_move_to(m_cairo, point.x, point.y);
        }
    }
    m_path.clear();
    if (!any) {
        cairo_new_path(m_cairo);
        return;
    }
    setSource(m_strokeColor);
    // Width 0 is the thinnest line the bitmap can show: one pixel.
    cairo_set_line_width(m_cairo, m_lineWidth > 0 ? m_lineWidth : 1 / m_scale);
    cairo_stroke(m_cairo);
}

void BitmapContext::clearRect(const Rect& rect) {
    if (!finite(rect) || rect.isEmpty()) {
        return;
    }
    cairo_save(m_cairo);
    cairo_set_operator(m_cairo, CAIRO_OPERATOR_CLEAR);
    cairo_rectangle(m_cairo, rect.minX(), rect.minY(), rect.width(), rect.height());
    cairo_fill(m_cairo);
    cairo_restore(m_cairo);
}

void BitmapContext::paintBitmap(const Image& image, const Rect& rect,
                                const AffineTransform& pixelToUpright, int displayWidth,
                                int displayHeight) {
    if (image.isNull() || !finite(rect) || rect.isEmpty()) {
        return;
    }
    cairo_surface_t* source = image.cairoSurface();
    if (!source) {
        return;
    }
    // Upright pixels into the rect; in bottom-left coordinates the top row goes to max y.
    double sx = rect.width() / displayWidth;
    double sy = rect.height() / displayHeight;
    AffineTransform toRect = m_bottomLeftOrigin
                                 ? AffineTransform{sx, 0, 0, -sy, rect.minX(), rect.maxY()}
                                 : AffineTransform{sx, 0, 0, sy, rect.minX(), rect.minY()};
    AffineTransform pixelToUser = pixelToUpright.concat(toRect);
    if (!usable(pixelToUser)) {
        return;
    }
    cairo_save(m_cairo);
    cairo_matrix_t m = toCairo(pixelToUser);
    cairo_transform(m_cairo, &m);
    cairo_rectangle(m_cairo, 0, 0, image.pixelWidth(), image.pixelHeight());
    cairo_clip(m_cairo);
    cairo_set_source_surface(m_cairo, source, 0, 0);
    // Padding keeps the edges of a scaled bitmap from fading into the transparency around it.
    cairo_pattern_set_extend(cairo_get_source(m_cairo), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(m_cairo), CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(m_cairo, m_alpha);
    cairo_restore(m_cairo);
}

void BitmapContext::drawImage(const Image& image, const Rect& rect) {
    paintBitmap(image, rect, AffineTransform{}, image.pixelWidth(), image.pixelHeight());
}

void BitmapContext::drawStretchable(const Image& image, const Rect& rect) {
    // Pixel columns and rows of the caps and the one-point middle, and where each lands.
    const double scale = image.scale();
    const int width = image.pixelWidth();
    const int height = image.pixelHeight();
    const int left = static_cast<int>(std::lround(image.leftCapWidth() * scale));
    const int top = static_cast<int>(std::lround(image.topCapHeight() * scale));
    const int middleWidth = image.leftCapWidth() > 0 ? std::max(1, static_cast<int>(scale)) : width;
    const int middleHeight =
        image.topCapHeight() > 0 ? std::max(1, static_cast<int>(scale)) : height;
    const int columns[4] = {0, left, std::min(width, left + middleWidth), width};
    const int rows[4] = {0, top, std::min(height, top + middleHeight), height};
    const double fixedWidth = (columns[1] + columns[3] - columns[2]) / scale;
    const double fixedHeight = (rows[1] + rows[3] - rows[2]) / scale;
    const double xs[4] = {rect.minX(), rect.minX() + columns[1] / scale,
                          rect.maxX() - (columns[3] - columns[2]) / scale, rect.maxX()};
    const double ys[4] = {rect.minY(), rect.minY() + rows[1] / scale,
                          rect.maxY() - (rows[3] - rows[2]) / scale, rect.maxY()};
    if (rect.width() < fixedWidth || rect.height() < fixedHeight) {
        // Too small for its caps: the whole picture is squeezed in.
        drawImage(image, rect);
        return;
    }
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int sliceWidth = columns[column + 1] - columns[column];
            const int sliceHeight = rows[row + 1] - rows[row];
            if (sliceWidth <= 0 || sliceHeight <= 0) {
                continue;
            }
            Image slice = image.cropped(columns[column], rows[row], sliceWidth, sliceHeight);
            drawImage(slice, Rect{{xs[column], ys[row]},
                                  {xs[column + 1] - xs[column], ys[row + 1] - ys[row]}});
        }
    }
}

void BitmapContext::drawImageUpright(const Image& image, const Rect& rect) {
    if ((image.leftCapWidth() > 0 || image.topCapHeight() > 0) &&
        image.orientation() == ImageOrientation::Up && finite(rect)) {
        drawStretchable(image, rect);
        return;
    }
    int width = image.pixelWidth();
    int height = image.pixelHeight();
    bool swapped = swapsWidthAndHeight(image.orientation());
    paintBitmap(image, rect, uprightTransform(image.orientation(), width, height),
                swapped ? height : width, swapped ? width : height);
}

void BitmapContext::drawText(const std::string& text, const Font& font, const Color& color,
                             const Rect& rect, TextAlignment alignment, int maxLines,
                             double lineSpacing) {
    if (text.empty() || !pangotext::usableFont(font) || !finite(rect)) {
        return;
    }
    cairo_save(m_cairo);
    if (m_bottomLeftOrigin) {
        // Text reads top-down whatever the coordinates: mirror about the rect's middle.
        cairo_translate(m_cairo, 0, rect.minY() + rect.maxY());
        cairo_scale(m_cairo, 1, -1);
    }
    {
        std::lock_guard lock(pangotext::mutex());
        auto context = pangotext::drawingContext(m_cairo);
        auto layout = pangotext::makeLayout(context.get(), text, font,
                                            TextBox{rect.width(), rect.height(), maxLines});
        m_charactersLaidOut += std::size_t(pango_layout_get_character_count(layout.get()));
        if (lineSpacing > 0) {
            pango_layout_set_spacing(layout.get(), static_cast<int>(lineSpacing * PANGO_SCALE));
        }
        switch (alignment) {
            case TextAlignment::Left:
                pango_layout_set_alignment(layout.get(), PANGO_ALIGN_LEFT);
                break;
            case TextAlignment::Center:
                pango_layout_set_alignment(layout.get(), PANGO_ALIGN_CENTER);
                break;
            case TextAlignment::Right:
                pango_layout_set_alignment(layout.get(), PANGO_ALIGN_RIGHT);
                break;
        }
        if (rect.width() > 0) {
            pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
            // A negative height counts lines; a positive one keeps the lines that fit.
            int heightLimit = static_cast<int>(std::min(rect.height(), 1e6) * PANGO_SCALE);
            if (maxLines > 0) {
                pango_layout_set_height(layout.get(), -maxLines);
                PangoRectangle logical;
                pango_layout_get_extents(layout.get(), nullptr, &logical);
                if (rect.height() > 0 && logical.height > heightLimit) {
                    pango_layout_set_height(layout.get(), heightLimit);
                }
            } else if (rect.height() > 0) {
                pango_layout_set_height(layout.get(), heightLimit);
            }
        }
        setSource(color);
        cairo_move_to(m_cairo, rect.minX(), rect.minY());
        pangotext::showLayout(m_cairo, layout.get(), font.pointSize);
    }
    cairo_restore(m_cairo);
}

void BitmapContext::drawTextRun(std::string_view text, const RunFont& font, const Color& color,
                                Point topLeft) {
    if (text.empty() || !pangotext::usableRunFont(font) || !std::isfinite(topLeft.x) ||
        !std::isfinite(topLeft.y)) {
        return;
    }
    cairo_save(m_cairo);
    if (m_bottomLeftOrigin) {
        cairo_translate(m_cairo, 0, 2 * topLeft.y + font.size);
        cairo_scale(m_cairo, 1, -1);
    }
    {
        std::lock_guard lock(pangotext::mutex());
        auto context = pangotext::drawingContext(m_cairo);
        auto layout = pangotext::makeRunLayout(context.get(), text, font);
        setSource(color);
        cairo_move_to(m_cairo, topLeft.x, topLeft.y);
        pangotext::showLayout(m_cairo, layout.get(), font.size);
    }
    cairo_restore(m_cairo);
}

Image BitmapContext::makeImage() const {
    if (!isValid()) {
        return {};
    }
    return Image::fromCairoSurface(m_surface, m_scale);
}

std::string BitmapContext::pngData() const {
    if (!isValid()) {
        return {};
    }
    cairo_surface_flush(m_surface);
    return png::encode(m_surface);
}

}  // namespace platform
