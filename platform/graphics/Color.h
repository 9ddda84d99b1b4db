#pragma once

#include <cstdint>
#include <iosfwd>

namespace platform {

// A colour as float RGBA with components 0..1 (not premultiplied). The default is clear.
struct Color {
    float red = 0;
    float green = 0;
    float blue = 0;
    float alpha = 0;

    static Color rgba(float r, float g, float b, float a = 1) { return Color{r, g, b, a}; }
    static Color whiteAlpha(float white, float alpha) { return Color{white, white, white, alpha}; }
    // 0xAARRGGBB, not premultiplied.
    static Color fromARGB(std::uint32_t argb);

    static Color clear() { return Color{}; }
    static Color white() { return whiteAlpha(1, 1); }
    static Color black() { return whiteAlpha(0, 1); }
    static Color lightGray() { return whiteAlpha(2.0f / 3.0f, 1); }
    static Color gray() { return whiteAlpha(0.5f, 1); }
    static Color darkGray() { return whiteAlpha(1.0f / 3.0f, 1); }
    // Named like UIKit's, because red/green/blue are already the component fields.
    static Color redColor() { return rgba(1, 0, 0); }
    static Color greenColor() { return rgba(0, 1, 0); }
    static Color blueColor() { return rgba(0, 0, 1); }
    static Color yellow() { return rgba(1, 1, 0); }
    static Color cyan() { return rgba(0, 1, 1); }
    static Color magenta() { return rgba(1, 0, 1); }
    static Color orange() { return rgba(1, 0.5f, 0); }
    static Color purple() { return rgba(0.5f, 0, 0.5f); }
    static Color brown() { return rgba(0.6f, 0.4f, 0.2f); }

    Color withAlpha(float a) const { return Color{red, green, blue, a}; }
    // 0xAARRGGBB with each component rounded to 8 bits and clamped to 0..1 first.
    std::uint32_t argb() const;
};

bool operator==(const Color&, const Color&);
std::ostream& operator<<(std::ostream&, const Color&);

}  // namespace platform
