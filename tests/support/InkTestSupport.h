#pragma once

// Whether a label draws a part of its text: a blank glyph takes its room and leaves it empty,
// so the outline (which reads the label's text) cannot tell.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Label.h"
#include "platform/ui/Renderer.h"

namespace testsupport {

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
