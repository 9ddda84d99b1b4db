#include "platform/graphics/ImageOrientation.h"

namespace platform {

bool swapsWidthAndHeight(ImageOrientation orientation) {
    switch (orientation) {
        case ImageOrientation::Left:
        case ImageOrientation::Right:
        case ImageOrientation::LeftMirrored:
        case ImageOrientation::RightMirrored:
            return true;
        default:
            return false;
    }
}

AffineTransform uprightTransform(ImageOrientation orientation, int pixelWidth, int pixelHeight) {
    double w = pixelWidth;
    double h = pixelHeight;
    // Each row: where stored pixel (u, v) lands, as u' = a*u + c*v + tx, v' = b*u + d*v + ty.
    switch (orientation) {
        case ImageOrientation::Up:
            return AffineTransform{};
        case ImageOrientation::Down:
            return AffineTransform{-1, 0, 0, -1, w, h};
        case ImageOrientation::Left:  // top row becomes the left column, read bottom-up
            return AffineTransform{0, -1, 1, 0, 0, w};
        case ImageOrientation::Right:  // top row becomes the right column, read top-down
            return AffineTransform{0, 1, -1, 0, h, 0};
        case ImageOrientation::UpMirrored:
            return AffineTransform{-1, 0, 0, 1, w, 0};
        case ImageOrientation::DownMirrored:
            return AffineTransform{1, 0, 0, -1, 0, h};
        case ImageOrientation::LeftMirrored:
            return AffineTransform{0, 1, 1, 0, 0, 0};
        case ImageOrientation::RightMirrored:
            return AffineTransform{0, -1, -1, 0, h, w};
    }
    return AffineTransform{};
}

}  // namespace platform
