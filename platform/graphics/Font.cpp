#include "platform/graphics/Font.h"

namespace platform {

Font Font::systemFont(double size) {
    Font font;
    font.pointSize = size;
    return font;
}

Font Font::boldSystemFont(double size) {
    Font font = systemFont(size);
    font.bold = true;
    return font;
}

Font Font::withSize(double size) const {
    Font font = *this;
    font.pointSize = size;
    return font;
}

bool operator==(const Font& l, const Font& r) {
    return l.family == r.family && l.pointSize == r.pointSize && l.bold == r.bold;
}

}  // namespace platform
