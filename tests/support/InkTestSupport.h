#pragma once

// Where ink lands in a picture of the screen: whether a label draws a part of its text (a
// blank glyph takes its room and leaves it empty, so the outline, which reads the label's
// text, cannot tell), and the box that holds the pixels of a kind within an area.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Label.h"
#include "platform/ui/Renderer.h"

namespace testsupport {

// Dark enough to be text drawn on a light page.
inline bool isDark(std::uint32_t argb) {
    const int r = (argb >> 16) & 0xff;
    const int g = (argb >> 8) & 0xff;
    const int b = argb & 0xff;
    return (r + g + b) / 3 < 160;
}

// Within a few steps of the colour (0xRRGGBB) in each channel.
inline bool isNear(std::uint32_t argb, std::uint32_t rgb) {
    for (int shift : {16, 8, 0}) {
        if (std::abs(int((argb >> shift) & 0xff) - int((rgb >> shift) & 0xff)) > 12) {
            return false;
        }
    }
    return true;
}

// The caret's tint: a blue that nothing else on the pages with fields is.
inline bool isCaretBlue(std::uint32_t argb) {
    const int r = (argb >> 16) & 0xff;
    const int g = (argb >> 8) & 0xff;
    const int b = argb & 0xff;
    return b > 200 && r < 60 && g < 160;
}

// A field's text: dark grey to black, neither the caret nor the border's light grey.
inline bool isFieldText(std::uint32_t argb) {
    const int r = (argb >> 16) & 0xff;
    const int g = (argb >> 8) & 0xff;
    const int b = argb & 0xff;
    return r + g + b < 3 * 110 && b < 150;
}

// The smallest rect holding every pixel of the picture within `area` that `matches`; empty
// when none does.
template <class Matches>
platform::Rect inkBounds(const platform::Image& picture, const platform::Rect& area,
                         const Matches& matches) {
    int minX = picture.pixelWidth();
    int minY = picture.pixelHeight();
    int maxX = -1;
    int maxY = -1;
    const int x0 = std::max(0, int(area.minX()));
    const int y0 = std::max(0, int(area.minY()));
    const int x1 = std::min(picture.pixelWidth(), int(std::ceil(area.maxX())));
    const int y1 = std::min(picture.pixelHeight(), int(std::ceil(area.maxY())));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (matches(picture.pixelAt(x, y))) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    if (maxX < 0) {
        return {};
    }
    return platform::Rect{{double(minX), double(minY)},
                          {double(maxX - minX + 1), double(maxY - minY + 1)}};
}

// The dark pixels' box within `area`.
inline platform::Rect darkInk(const platform::Image& picture, const platform::Rect& area) {
    return inkBounds(picture, area, isDark);
}

// Pixels that differ from the label's background in the columns where `part` stands after
// `before` in its one-line text, the label drawn alone as the screen draws it, its alignment
// honoured. A point is kept off each side, away from the neighbours' ink.
inline int inkWherePartStands(platform::Label& label, const std::string& before,
                              const std::string& part) {
    const auto& measurer = platform::TextMeasurer::current();
    const auto width = [&](const std::string& text) {
        return measurer.boundingSize(text, label.font(), platform::Size{}).width;
    };
    double free = label.bounds().size.width - width(label.text());
    double start = label.textAlignment() == platform::TextAlignment::Left     ? 0
                   : label.textAlignment() == platform::TextAlignment::Center ? free / 2
                                                                              : free;
    int from = static_cast<int>(std::ceil(start + width(before) + 1));
    int to = static_cast<int>(std::floor(start + width(before + part) - 1));

    platform::Image image = platform::renderToImage(label);
    if (image.isNull()) {
        return 0;
    }
    const std::uint32_t background = image.pixelAt(0, 0);
    int ink = 0;
    for (int y = 0; y < image.pixelHeight(); ++y) {
        for (int x = std::max(0, from); x < std::min(to, image.pixelWidth()); ++x) {
            std::uint32_t pixel = image.pixelAt(x, y);
            for (int shift : {0, 8, 16, 24}) {
                int d = static_cast<int>((pixel >> shift) & 0xFF) -
                        static_cast<int>((background >> shift) & 0xFF);
                if (std::abs(d) > 0x30) {
                    ++ink;
                    break;
                }
            }
        }
    }
    return ink;
}

}  // namespace testsupport
