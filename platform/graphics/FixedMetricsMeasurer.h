#pragma once

#include "platform/graphics/TextMeasurer.h"

namespace platform {

// Exact, font-independent numbers for tests: each code point is pointSize *
// charWidthPerPoint wide and each line pointSize * lineHeightPerPoint high. Lines wrap after
// as many characters as fit (at least one) and break at "\n".
class FixedMetricsMeasurer : public TextMeasurer {
public:
    explicit FixedMetricsMeasurer(double charWidthPerPoint = 1.0, double lineHeightPerPoint = 1.2);

    Size boundingSize(const std::string& text, const Font& font, Size constraint) const override;
    double lineHeight(const Font& font) const override;

private:
    double m_charWidthPerPoint{1.0};
    double m_lineHeightPerPoint{1.2};
};

}  // namespace platform
