#include "platform/ui/ImageView.h"

#include <algorithm>
#include <sstream>

#include "platform/graphics/BitmapContext.h"

namespace platform {

ImageView::ImageView() {
    setUserInteractionEnabled(false);
}

ImageView::ImageView(const Rect& frame) : View(frame) {
    setUserInteractionEnabled(false);
}

ImageView::ImageView(const Image& image) : View(Rect{{0, 0}, image.size()}), m_image(image) {
    setUserInteractionEnabled(false);
}

const Image& ImageView::displayedImage() const {
    return m_highlighted && !m_highlightedImage.isNull() ? m_highlightedImage : m_image;
}

Rect ImageView::placeContent(ContentMode mode, Size content, const Rect& bounds) {
    double w = content.width;
    double h = content.height;
    double bw = bounds.size.width;
    double bh = bounds.size.height;
    switch (mode) {
        case ContentMode::ScaleToFill:
        case ContentMode::Redraw:
            return bounds;
        case ContentMode::ScaleAspectFit:
        case ContentMode::ScaleAspectFill: {
            if (w <= 0 || h <= 0) {
                return bounds;
            }
            double sx = bw / w;
            double sy = bh / h;
            double s = mode == ContentMode::ScaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
            w *= s;
            h *= s;
            return Rect{{bounds.origin.x + (bw - w) / 2, bounds.origin.y + (bh - h) / 2}, {w, h}};
        }
        default:
            break;
    }
    double x = bounds.origin.x + (bw - w) / 2;
    double y = bounds.origin.y + (bh - h) / 2;
    switch (mode) {
        case ContentMode::Top:
        case ContentMode::TopLeft:
        case ContentMode::TopRight:
            y = bounds.origin.y;
            break;
        case ContentMode::Bottom:
        case ContentMode::BottomLeft:
        case ContentMode::BottomRight:
            y = bounds.origin.y + bh - h;
            break;
        default:
            break;
    }
    switch (mode) {
        case ContentMode::Left:
        case ContentMode::TopLeft:
        case ContentMode::BottomLeft:
            x = bounds.origin.x;
            break;
        case ContentMode::Right:
        case ContentMode::TopRight:
        case ContentMode::BottomRight:
            x = bounds.origin.x + bw - w;
            break;
        default:
            break;
    }
    return Rect{{x, y}, {w, h}};
}

Size ImageView::sizeThatFits(Size /*size*/) const {
    return displayedImage().size();
}

void ImageView::draw(BitmapContext& context, const Rect& rect) {
    const Image& image = displayedImage();
    if (image.isNull()) {
        return;
    }
    context.drawImageUpright(image, placeContent(contentMode(), image.size(), rect));
}

std::string ImageView::describe() const {
    const Image& image = displayedImage();
    if (image.isNull()) {
        return "image (none)";
    }
    std::ostringstream out;
    out << "image ";
    if (!image.name().empty()) {
        out << "\"" << image.name() << "\" ";
    }
    out << image.size().width << "x" << image.size().height;
    return out.str();
}

}  // namespace platform
