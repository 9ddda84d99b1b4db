#pragma once

#include <litehtml.h>
#include <litehtml/el_image.h>

#include <memory>

#include "platform/web/HtmlElement.h"

namespace platform {

// What paints a page's pictures: the layout's container, which holds the page's pictures and
// knows the context being painted.
class HtmlPicturePainter {
public:
    virtual ~HtmlPicturePainter() = default;
    // Paints the picture the page names `src`, scaled to fill `box` (page coordinates, in
    // the context `hdc` stands for); nothing while it has not arrived.
    virtual void paintPicture(litehtml::uint_ptr hdc, const char* src,
                              const litehtml::position& box) = 0;
    // The picture's own size decides the size of its box (the page gives not both).
    virtual void noteSizedByPicture(const char* src) = 0;
};

// A page's <img>. The engine's own hands its picture to the container as a background whose
// origin and position both hold the box's place, so a picture anywhere but the page's
// top-left corner would land at twice its place, cut at its box. This one paints its
// background and borders as any box does, and then the picture itself, once, scaled to its
// content box.
class HtmlPictureElement final : public HtmlElement<litehtml::el_image> {
public:
    HtmlPictureElement(const std::shared_ptr<litehtml::document>& document,
                       std::shared_ptr<HtmlElementGuard> guard, HtmlPicturePainter& painter);

    int render(int x, int y, int max_width, bool second_pass = false) override;
    void draw(litehtml::uint_ptr hdc, int x, int y, const litehtml::position* clip) override;

private:
    HtmlPicturePainter& m_painter;
};

}  // namespace platform
