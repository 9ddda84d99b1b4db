#include "platform/graphics/TextPositions.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/PangoText.h"

namespace platform {

namespace {

// The byte offset in the layout's own (cleaned) UTF-8 text of the UTF-16 index.
int byteOffset(const char* text, std::size_t index) {
    const char* p = text;
    std::size_t units = 0;
    while (*p && units < index) {
        const gunichar c = g_utf8_get_char(p);
        units += c >= 0x10000 ? 2 : 1;
        if (units > index) {
            break;  // inside a character outside the basic plane: its start
        }
        p = g_utf8_next_char(p);
    }
    return int(p - text);
}

std::size_t utf16Index(const char* text, int bytes) {
    std::size_t units = 0;
    for (const char* p = text; *p && p < text + bytes; p = g_utf8_next_char(p)) {
        units += g_utf8_get_char(p) >= 0x10000 ? 2 : 1;
    }
    return units;
}

void align(PangoLayout* layout, TextAlignment alignment) {
    switch (alignment) {
        case TextAlignment::Left:
            pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
            break;
        case TextAlignment::Center:
            pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
            break;
        case TextAlignment::Right:
            pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
            break;
    }
}

Rect insertionRect(PangoLayout* layout, std::size_t index) {
    const char* text = pango_layout_get_text(layout);
    PangoRectangle strong;
    pango_layout_get_cursor_pos(layout, byteOffset(text, index), &strong, nullptr);
    return Rect{{double(strong.x) / PANGO_SCALE, double(strong.y) / PANGO_SCALE},
                {0, double(strong.height) / PANGO_SCALE}};
}

std::size_t insertionIndex(PangoLayout* layout, Point point) {
    if (!std::isfinite(point.x) || !std::isfinite(point.y)) {
        return 0;
    }
    auto units = [](double v) { return int(std::clamp(v, -1e6, 1e6) * PANGO_SCALE); };
    int index = 0;
    int trailing = 0;
    pango_layout_xy_to_index(layout, units(point.x), units(point.y), &index, &trailing);
    const char* text = pango_layout_get_text(layout);
    const char* p = text + index;
    // A point past the middle of a character puts the insertion point after it.
    for (; trailing > 0 && *p; --trailing) {
        p = g_utf8_next_char(p);
    }
    return utf16Index(text, int(p - text));
}

pangotext::LayoutPtr textLayout(const std::string& text, const Font& font, double width,
                                TextAlignment alignment) {
    auto layout = pangotext::makeLayout(pangotext::measuringContext(), text, font, TextBox{width});
    align(layout.get(), alignment);
    return layout;
}

}  // namespace

Rect textInsertionRect(const std::string& text, const Font& font, double width,
                       TextAlignment alignment, std::size_t index) {
    if (!pangotext::usableFont(font)) {
        return Rect{};
    }
    std::lock_guard lock(pangotext::mutex());
    return insertionRect(textLayout(text, font, width, alignment).get(), index);
}

std::size_t textInsertionIndex(const std::string& text, const Font& font, double width,
                               TextAlignment alignment, Point point) {
    if (!pangotext::usableFont(font)) {
        return 0;
    }
    std::lock_guard lock(pangotext::mutex());
    return insertionIndex(textLayout(text, font, width, alignment).get(), point);
}

}  // namespace platform
