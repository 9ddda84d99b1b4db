#pragma once

#include <optional>

#include "platform/ui/View.h"

namespace platform {

enum class ActivityIndicatorViewStyle { WhiteLarge, White, Gray };

// The phone's UIActivityIndicatorView: a spinner, 20 points square (37 for WhiteLarge).
// With hidesWhenStopped (the default) it is hidden whenever it is not spinning.
class ActivityIndicatorView : public View {
public:
    explicit ActivityIndicatorView(
        ActivityIndicatorViewStyle style = ActivityIndicatorViewStyle::White);
    explicit ActivityIndicatorView(const Rect& frame);

    ActivityIndicatorViewStyle style() const { return m_style; }
    // Also resizes the view to the style's size, keeping its center.
    void setStyle(ActivityIndicatorViewStyle style);
    // The style's colour (white, or grey for Gray) unless set.
    Color color() const;
    void setColor(std::optional<Color> color) { setDisplayed(m_color, color); }

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_animating; }
    bool hidesWhenStopped() const { return m_hidesWhenStopped; }
    void setHidesWhenStopped(bool hides);

    Size sizeThatFits(Size size) const override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;

private:
    static Size sizeFor(ActivityIndicatorViewStyle style);

    ActivityIndicatorViewStyle m_style{ActivityIndicatorViewStyle::White};
    std::optional<Color> m_color;
    bool m_animating{false};
    bool m_hidesWhenStopped{true};
};

}  // namespace platform
