#include "components/webprogress/WebViewProgressView.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/ui/Animation.h"

namespace platform::components {

namespace {

// The phone's system blue, the line's colour.
const Color kBarColor = Color::rgba(22.0f / 255, 126.0f / 255, 251.0f / 255);

}  // namespace

WebViewProgressView::WebViewProgressView(const Rect& frame) : View(frame) {
    setUserInteractionEnabled(false);
    setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    m_progressBarView = View::make<View>(Rect{{0, 0}, {0, frame.size.height}});
    m_progressBarView->setAutoresizingMask(AutoresizingMask::FlexibleHeight);
    m_progressBarView->setBackgroundColor(kBarColor);
    addSubview(m_progressBarView);
}

WebViewProgressView::~WebViewProgressView() {
    m_pendingFade.cancel();
}

void WebViewProgressView::setProgress(float progress, bool animated) {
    if (std::isnan(progress))
        progress = 0;
    progress = std::clamp(progress, 0.0f, 1.0f);
    m_pendingFade.cancel();
    ++m_generation;
    m_progress = progress;
    layoutBar();
    if (progress < 1) {
        setAlpha(1);
        return;
    }
    // The full line stays a moment before it fades.
    double delay = (animated ? kBarAnimationDuration : 0) + kFadeOutDelay;
    std::weak_ptr<View> weak = weak_from_this();
    m_pendingFade = RunLoop::main().postDelayed(seconds(delay), [weak] {
        if (auto view = weak.lock())
            static_cast<WebViewProgressView&>(*view).fadeOut();
    });
}

void WebViewProgressView::fadeOut() {
    std::weak_ptr<View> weak = weak_from_this();
    std::uint64_t generation = m_generation;
    View::animateWithDuration(
        kFadeAnimationDuration, 0, AnimationOptions::CurveEaseInOut, [this] { setAlpha(0); },
        [weak, generation](bool) {
            auto view = weak.lock();
            if (!view)
                return;
            auto& line = static_cast<WebViewProgressView&>(*view);
            if (line.m_generation != generation)
                return;  // a later progress owns the bar now
            line.m_progress = 0;
            line.layoutBar();
        });
}

bool WebViewProgressView::isShowingProgress() const {
    return superview() && !isHidden() && alpha() > 0 && m_progress > 0;
}

void WebViewProgressView::layoutSubviews() {
    View::layoutSubviews();
    layoutBar();
}

void WebViewProgressView::layoutBar() {
    Rect b = bounds();
    m_progressBarView->setFrame(Rect{{0, 0}, {b.size.width * m_progress, b.size.height}});
}

std::string WebViewProgressView::describe() const {
    return "load progress " + std::to_string(int(std::lround(m_progress * 100))) + "%";
}

}  // namespace platform::components
