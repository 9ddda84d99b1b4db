#pragma once

#include <string>
#include <vector>

#include "platform/graphics/TextMeasurer.h"

namespace platform {

// Measures with Pango at 72 dpi, so a 17-point font is 17 units high: sizes are in points.
// Safe to use from any thread.
class PangoTextMeasurer : public TextMeasurer {
public:
    Size boundingSize(const std::string& text, const Font& font, Size constraint) const override;

    // The families of the faces Pango actually chose for the text, in order of use, each once:
    // shows whether a font was found or replaced by a fallback.
    std::vector<std::string> resolvedFamilies(const std::string& text, const Font& font) const;
};

}  // namespace platform
