#pragma once

#include <optional>

#include "platform/ui/View.h"

namespace platform {

enum class ProgressViewStyle { Default, Bar };

// The phone's UIProgressView: a 2-point bar filled to `progress` (0 to 1, values outside
// are clamped and a NaN counts as 0).
class ProgressView : public View {
public:
    explicit ProgressView(ProgressViewStyle style = ProgressViewStyle::Default);
    explicit ProgressView(const Rect& frame);

    ProgressViewStyle progressViewStyle() const { return m_style; }
    void setProgressViewStyle(ProgressViewStyle style) { setDisplayed(m_style, style); }
    float progress() const { return m_progress; }
    // Headless, the animated change shows its end state at once.
    void setProgress(float progress, bool animated = false);
    // The tint colour unless set.
    Color progressTintColor() const;
    void setProgressTintColor(std::optional<Color> color) { setDisplayed(m_progressTint, color); }
    // Light grey (clear for the Bar style) unless set.
    Color trackTintColor() const;
    void setTrackTintColor(std::optional<Color> color) { setDisplayed(m_trackTint, color); }

    Size sizeThatFits(Size size) const override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;

    static constexpr double kHeight = 2;

private:
    ProgressViewStyle m_style{ProgressViewStyle::Default};
    float m_progress{0};
    std::optional<Color> m_progressTint;
    std::optional<Color> m_trackTint;
};

}  // namespace platform
