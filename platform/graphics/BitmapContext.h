#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/TextRun.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace platform {

// An offscreen ARGB32 drawing context, like the phone's UIGraphics image context: user
// space is in points with the origin top-left and y down; the bitmap has ceil(points *
// scale) pixels a side. A size that cannot be allocated gives a context whose drawing does
// nothing and whose image is empty.
class BitmapContext {
public:
    // opaque: starts as opaque black instead of clear, so the image has no transparency.
    BitmapContext(Size pointSize, double scale = 1, bool opaque = false);
    BitmapContext(int pixelWidth, int pixelHeight);  // scale 1
    ~BitmapContext();
    BitmapContext(const BitmapContext&) = delete;
    BitmapContext& operator=(const BitmapContext&) = delete;

    bool isValid() const;
    int pixelWidth() const;
    int pixelHeight() const;
    double scale() const { return m_scale; }

    // Transforms apply to drawing that follows, before the current transform (the phone's
    // CGContextConcatCTM / TranslateCTM / RotateCTM / ScaleCTM).
    void concat(const AffineTransform& transform);
    void translate(double x, double y);
    void rotate(double radians);
    void scale(double sx, double sy);
    AffineTransform currentTransform() const;  // user points to device pixels

    // Switches to the coordinates of a bare CoreGraphics bitmap context: origin bottom-left,
    // y up, and drawImage puts a bitmap's top row at the rect's max y. Drawing code written
    // for those coordinates (such as redrawing an image upright from its orientation) then
    // gives the same picture as on the phone. Call before any other transform.
    void useBottomLeftOrigin();

    // Saves and restores the transform, clip and alpha.
    void saveState();
    void restoreState();
    void clip(const Rect& rect);

    void fillRect(const Rect& rect, const Color& color);
    // The line is centred on the rect's edges.
    void strokeRect(const Rect& rect, const Color& color, double lineWidth);
    // radius is limited to half the shorter side.
    void fillRoundedRect(const Rect& rect, double radius, const Color& color);
    void strokeRoundedRect(const Rect& rect, double radius, const Color& color, double lineWidth);
    void fillEllipse(const Rect& rect, const Color& color);
    void strokeLine(Point from, Point to, const Color& color, double lineWidth);
    // A path stroked at once, as the phone's CGContext path calls: the stroke colour and line
    // width stay set until changed (black and 1 at first); beginPath starts an empty path,
    // moveToPoint and addLineToPoint add to it, strokePath strokes it with the colour and width
    // then set and empties it. A width of 0 strokes the thinnest line, one pixel wide. The
    // path is kept apart from the other drawing calls, which may come between.
    void setStrokeColor(const Color& color);
    void setLineWidth(double lineWidth);
    const Color& strokeColor() const { return m_strokeColor; }
    double lineWidth() const { return m_lineWidth; }
    void beginPath();
    void moveToPoint(Point point);
    void addLineToPoint(Point point);
    void strokePath();
    // Replaces the rect's pixels with clear (the phone's CGContextClearRect).
    void clearRect(const Rect& rect);

    // The stored bitmap scaled into rect, ignoring the image's orientation (as
    // CGContextDrawImage does with a CGImage).
    void drawImage(const Image& image, const Rect& rect);
    // The image as it appears upright, honouring its orientation, scaled into rect (as
    // -[UIImage drawInRect:] does); a stretchable image (upright) keeps its caps' size.
    void drawImageUpright(const Image& image, const Rect& rect);
    // Text laid out in rect from its top: wrapped at words (inside a word when needed) to the
    // rect's width, at most maxLines lines (0 = as many as fit the height, at least one), the
    // last shown line truncated with "…" when text is left over. Line breaks match
    // TextMeasurer's Pango measurement for the same width. Text past what the rect could show
    // is not laid out at all (TextCut.h). lineSpacing adds that many points between lines.
    void drawText(const std::string& text, const Font& font, const Color& color, const Rect& rect,
                  TextAlignment alignment, int maxLines, double lineSpacing = 0);
    // The characters drawText has laid out in this context so far, all calls together: what
    // its text cost, which each call's rect and line limit bound however long the text.
    std::size_t charactersLaidOut() const { return m_charactersLaidOut; }
    // One run of text on one line, its line box's top-left corner at `topLeft` (TextRun.h).
    void drawTextRun(std::string_view text, const RunFont& font, const Color& color, Point topLeft);

    // Global alpha (0..1) multiplied into everything drawn after; saved and restored with the
    // state.
    void setAlpha(double alpha);
    double alpha() const { return m_alpha; }

    // A snapshot with the context's scale.
    Image makeImage() const;
    std::string pngData() const;
    cairo_t* cairo() const { return m_cairo; }

private:
    void setSource(const Color& color);
    void roundedRectPath(const Rect& rect, double radius);
    void drawStretchable(const Image& image, const Rect& rect);
    void paintBitmap(const Image& image, const Rect& rect, const AffineTransform& pixelToRect,
                     int displayWidth, int displayHeight);

    cairo_surface_t* m_surface{nullptr};
    cairo_t* m_cairo{nullptr};
    double m_scale{1};
    double m_alpha{1};
    bool m_bottomLeftOrigin{false};
    std::size_t m_charactersLaidOut{0};
    std::vector<double> m_savedAlpha;
    Color m_strokeColor{Color::black()};
    double m_lineWidth{1};
    // Points of the path being built; true for a line to the point, false for a move.
    std::vector<std::pair<Point, bool>> m_path;
};

}  // namespace platform
