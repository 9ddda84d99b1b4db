#pragma once

#include <optional>
#include <string>

#include "platform/graphics/Font.h"
#include "platform/ui/View.h"

namespace platform {

enum class LineBreakMode {
    WordWrap,
    CharWrap,
    Clip,
    TruncatingHead,
    TruncatingTail,
    TruncatingMiddle,
};

// The phone's UILabel: plain text in one font and colour, centred vertically in its bounds.
// numberOfLines 0 means as many lines as the height allows. Labels do not take touches
// unless user interaction is switched on.
class Label : public View {
public:
    Label();
    explicit Label(const Rect& frame);

    const std::string& text() const { return m_text; }
    void setText(std::string text);
    const Font& font() const { return m_font; }
    void setFont(const Font& font);
    const Color& textColor() const { return m_textColor; }
    void setTextColor(const Color& color) { setDisplayed(m_textColor, color); }
    std::optional<Color> highlightedTextColor() const { return m_highlightedTextColor; }
    void setHighlightedTextColor(std::optional<Color> color) {
        setDisplayed(m_highlightedTextColor, color);
    }
    TextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(TextAlignment alignment) { setDisplayed(m_textAlignment, alignment); }
    int numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(int lines);
    LineBreakMode lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(LineBreakMode mode) { m_lineBreakMode = mode; }
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted) { setDisplayed(m_highlighted, highlighted); }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { setDisplayed(m_enabled, enabled); }
    // Points added between lines (the paragraph style's line spacing over the whole text).
    double lineSpacing() const { return m_lineSpacing; }
    void setLineSpacing(double spacing);

    // Where the text is drawn within `bounds`: full width, as high as the shown lines,
    // centred vertically.
    Rect textRectForBounds(const Rect& bounds) const;

    Size sizeThatFits(Size size) const override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;

private:
    void textLayoutChanged();
    // The height of the text's lines with the line spacing between them.
    double spacedHeight(double linesHeight) const;

    std::string m_text;
    Font m_font{Font::systemFont(17)};
    Color m_textColor{Color::black()};
    std::optional<Color> m_highlightedTextColor;
    TextAlignment m_textAlignment{TextAlignment::Left};
    int m_numberOfLines{1};
    LineBreakMode m_lineBreakMode{LineBreakMode::TruncatingTail};
    bool m_highlighted{false};
    bool m_enabled{true};
    double m_lineSpacing{0};
};

}  // namespace platform
