#include "platform/graphics/FixedMetricsMeasurer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {

namespace {

// Code points per "\n"-separated line; a byte that does not continue a UTF-8 sequence starts
// one, so malformed text still counts every byte it cannot pair.
std::vector<long long> lineLengths(const std::string& text) {
    std::vector<long long> lengths{0};
    for (unsigned char byte : text) {
        if (byte == '\n') {
            lengths.push_back(0);
        } else if ((byte & 0xC0) != 0x80) {
            ++lengths.back();
        }
    }
    return lengths;
}

}  // namespace

FixedMetricsMeasurer::FixedMetricsMeasurer(double charWidthPerPoint, double lineHeightPerPoint)
    : m_charWidthPerPoint(charWidthPerPoint), m_lineHeightPerPoint(lineHeightPerPoint) {}

double FixedMetricsMeasurer::lineHeight(const Font& font) const {
    return font.pointSize * m_lineHeightPerPoint;
}

Size FixedMetricsMeasurer::boundingSize(const std::string& text, const Font& font,
                                        Size constraint) const {
    if (text.empty()) {
        return {};
    }
    double charWidth = font.pointSize * m_charWidthPerPoint;
    double lineHeight = this->lineHeight(font);
    long long perLine = 0;  // 0: no wrapping
    if (constraint.width > 0 && charWidth > 0) {
        perLine = std::max<long long>(
            1, static_cast<long long>(std::floor(constraint.width / charWidth + 1e-9)));
    }
    long long maxLines = 0;  // 0: no limit
    if (constraint.height > 0 && lineHeight > 0) {
        maxLines = std::max<long long>(
            1, static_cast<long long>(std::floor(constraint.height / lineHeight + 1e-9)));
    }
    long long lines = 0;
    long long widest = 0;
    for (long long length : lineLengths(text)) {
        long long remaining = length;
        do {
            if (maxLines > 0 && lines == maxLines) {
                break;
            }
            long long taken = perLine > 0 ? std::min(remaining, perLine) : remaining;
            widest = std::max(widest, taken);
            remaining -= taken;
            ++lines;
        } while (remaining > 0);
    }
    return Size{static_cast<double>(widest) * charWidth, static_cast<double>(lines) * lineHeight};
}

}  // namespace platform
