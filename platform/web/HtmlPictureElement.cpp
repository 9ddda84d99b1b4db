#include "platform/web/HtmlPictureElement.h"

#include <utility>

namespace platform {

HtmlPictureElement::HtmlPictureElement(const std::shared_ptr<litehtml::document>& document,
                                       std::shared_ptr<HtmlElementGuard> guard,
                                       HtmlPicturePainter& painter)
    : HtmlElement<litehtml::el_image>(document, std::move(guard)), m_painter(painter) {}

int HtmlPictureElement::render(int x, int y, int max_width, bool second_pass) {
    // Whether the picture's arrival moves anything, for the web view: a picture of a given
    // width and height only needs painting.
    if (m_css_width.is_predefined() || m_css_height.is_predefined()) {
        const char* src = get_attr("src");
        if (src && *src) {
            m_painter.noteSizedByPicture(src);
        }
    }
    return HtmlElement<litehtml::el_image>::render(x, y, max_width, second_pass);
}

void HtmlPictureElement::draw(litehtml::uint_ptr hdc, int x, int y,
                              const litehtml::position* clip) {
    html_tag::draw_background(hdc, x, y, clip);
    litehtml::position box = m_pos;
    box.x += x;
    box.y += y;
    if (box.width <= 0 || box.height <= 0 || (clip && !box.does_intersect(clip))) {
        return;
    }
    const char* src = get_attr("src");
    if (src && *src) {
        m_painter.paintPicture(hdc, src, box);
    }
}

}  // namespace platform
