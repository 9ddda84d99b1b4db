#pragma once

#include <memory>
#include <string>

#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"

namespace platform {

// Measures text as the phone's boundingRectWithSize:options:attributes: does with the
// line-fragment-origin, font-leading and truncate-last-visible-line options.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;

    // constraint: width 0 = no limit (one run, broken only at "\n"); height 0 = no limit.
    // Wraps at word boundaries, and inside a word when one does not fit. With a height
    // limit, only the lines that fit are counted (at least one). The used size, not rounded;
    // empty text measures (0, 0). Pango's measurer lays out no more of a text than the
    // constraint could show (TextCut.h): a longer one measures as cut there, ending in "…".
    virtual Size boundingSize(const std::string& text, const Font& font, Size constraint) const = 0;
    // The height of one line of the font (the phone's UIFont lineHeight).
    virtual double lineHeight(const Font& font) const;

    // Pango with the bundled CJK font unless a test injected another. The reference stays
    // valid for the life of the process.
    static const TextMeasurer& current();
    // For tests; nullptr restores Pango.
    static void setCurrent(std::shared_ptr<TextMeasurer> measurer);
};

}  // namespace platform
