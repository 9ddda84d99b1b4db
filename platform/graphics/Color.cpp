#include "platform/graphics/Color.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace platform {

namespace {

std::uint32_t toByte(float component) {
    if (!(component > 0)) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::lround(std::min(component, 1.0f) * 255.0f));
}

float fromByte(std::uint32_t byte) {
    return static_cast<float>(byte & 0xFF) / 255.0f;
}

}  // namespace

Color Color::fromARGB(std::uint32_t argb) {
    return Color{fromByte(argb >> 16), fromByte(argb >> 8), fromByte(argb), fromByte(argb >> 24)};
}

std::uint32_t Color::argb() const {
    return toByte(alpha) << 24 | toByte(red) << 16 | toByte(green) << 8 | toByte(blue);
}

bool operator==(const Color& l, const Color& r) {
    return l.red == r.red && l.green == r.green && l.blue == r.blue && l.alpha == r.alpha;
}

std::ostream& operator<<(std::ostream& out, const Color& c) {
    return out << "rgba(" << c.red << ", " << c.green << ", " << c.blue << ", " << c.alpha << ")";
}

}  // namespace platform
