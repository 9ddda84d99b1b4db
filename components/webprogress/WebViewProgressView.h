#pragma once

#include <cstdint>
#include <memory>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/View.h"

namespace platform::components {

// The thin load progress line (usually laid along the bottom of a navigation bar): a bar
// filled from the left to the progress. While a page loads the line shows; once it reaches
// 1 it stays full for a moment, fades out and empties. A new progress below 1 brings it
// back at once, cancelling a fade not yet begun.
//
// Headless, the bar's growth and the fade are not drawn in between: the fade starts after
// kBarAnimationDuration + kFadeOutDelay on the main run loop's clock (kFadeOutDelay alone
// when the full bar was not animated), the line is invisible from then on and empty
// kFadeAnimationDuration later.
class WebViewProgressView : public View {
public:
    static constexpr double kBarAnimationDuration = 0.27;
    static constexpr double kFadeAnimationDuration = 0.27;
    static constexpr double kFadeOutDelay = 0.1;

    explicit WebViewProgressView(const Rect& frame);
    ~WebViewProgressView() override;

    // The value last set, 0 to 1 (a NaN counts as 0); 0 again once a finished line has faded.
    float progress() const { return m_progress; }
    void setProgress(float progress, bool animated = false);

    // The filled part of the line; its background colour is the line's colour.
    const std::shared_ptr<View>& progressBarView() const { return m_progressBarView; }
    // Whether the line can be seen: on screen, not faded out, and filled.
    bool isShowingProgress() const;

    void layoutSubviews() override;
    std::string describe() const override;

private:
    void layoutBar();
    void fadeOut();

    std::shared_ptr<View> m_progressBarView;
    float m_progress{0};
    TaskHandle m_pendingFade;
    // Names the latest progress, so that a fade started for an earlier one never empties
    // the bar of a later one.
    std::uint64_t m_generation{0};
};

}  // namespace platform::components
