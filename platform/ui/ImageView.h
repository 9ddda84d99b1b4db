#pragma once

#include "platform/graphics/Image.h"
#include "platform/ui/View.h"

namespace platform {

// The phone's UIImageView: shows an image (or the highlighted image while highlighted)
// placed by the content mode. Image views do not take touches unless user interaction is
// switched on.
class ImageView : public View {
public:
    ImageView();
    explicit ImageView(const Rect& frame);
    // Sized to the image, at the origin.
    explicit ImageView(const Image& image);

    const Image& image() const { return m_image; }
    void setImage(const Image& image) { setDisplayed(m_image, image); }
    const Image& highlightedImage() const { return m_highlightedImage; }
    void setHighlightedImage(const Image& image) { setDisplayed(m_highlightedImage, image); }
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted) { setDisplayed(m_highlighted, highlighted); }
    // The image that is shown now.
    const Image& displayedImage() const;

    // Where an image of `content` size goes in `bounds` under a content mode.
    static Rect placeContent(ContentMode mode, Size content, const Rect& bounds);

    Size sizeThatFits(Size size) const override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;

private:
    Image m_image;
    Image m_highlightedImage;
    bool m_highlighted{false};
};

}  // namespace platform
