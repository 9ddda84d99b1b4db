#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/hud/ProgressHUDMode.h"
#include "platform/graphics/Font.h"
#include "platform/ui/View.h"

namespace platform {
class ActivityIndicatorView;
class Label;
class TaskHandle;
}  // namespace platform

namespace platform::components {

class ProgressHUDDelegate;

// The progress overlay: it covers a view (taking its touches while shown) and shows a dark
// rounded box in its middle with an indicator, an icon or nothing, and up to two lines of
// text. Make it with View::make<ProgressHUD>(view), add it to that view and show() it, or let
// showHUDAddedTo do all three.
//
// Headless, the fade in and out is not drawn: showing and hiding take effect at once, so
// an overlay hidden after 1.0 s is gone at exactly 1.0 s. Delayed hides run on the main run
// loop's clock and do not keep the overlay alive: one whose overlay was hidden, taken off its
// view or let go of does nothing.
class ProgressHUD : public View {
public:
    explicit ProgressHUD(const Rect& frame);
    // Covers the view: the frame is its bounds. Not added to it.
    explicit ProgressHUD(View& view);
    ~ProgressHUD() override;

    // --- Class operations -----------------------------------------------------------------
    // A new overlay added to the view and shown; it leaves the view when hidden.
    static std::shared_ptr<ProgressHUD> showHUDAddedTo(View& view, bool animated);
    // Hides the topmost overlay on the view that is not hidden yet, and takes it off the
    // view. Returns whether there was one.
    static bool hideHUDForView(View& view, bool animated);
    // The topmost overlay among the view's subviews that is not hidden yet, or null.
    static std::shared_ptr<ProgressHUD> HUDForView(const View& view);

    // --- Content ----------------------------------------------------------------------------
    ProgressHUDMode mode() const { return m_mode; }
    void setMode(ProgressHUDMode mode);
    const std::string& labelText() const { return m_labelText; }
    void setLabelText(std::string text);
    const std::string& detailsLabelText() const { return m_detailsLabelText; }
    void setDetailsLabelText(std::string text);
    const Font& labelFont() const { return m_labelFont; }
    void setLabelFont(const Font& font);
    const Font& detailsLabelFont() const { return m_detailsLabelFont; }
    void setDetailsLabelFont(const Font& font);
    // Shown above the label in CustomView mode, at its own size.
    std::shared_ptr<View> customView() const { return m_customView; }
    void setCustomView(std::shared_ptr<View> view);
    // 0..1, shown in Determinate mode.
    float progress() const { return m_progress; }
    void setProgress(float progress);

    // --- Look -------------------------------------------------------------------------------
    // Shades the whole covered view, not only the box.
    bool dimBackground() const { return m_dimBackground; }
    void setDimBackground(bool dim) { setDisplayed(m_dimBackground, dim); }
    // Space between the box's edge and its content, in points.
    double margin() const { return m_margin; }
    void setMargin(double margin);
    // Moves the box down (up when negative) from the middle.
    double yOffset() const { return m_yOffset; }
    void setYOffset(double offset);
    // Makes the box as high as it is wide, or the other way round.
    bool isSquare() const { return m_square; }
    void setSquare(bool square);
    // The box's colour.
    const Color& color() const { return m_color; }
    void setColor(const Color& color) { setDisplayed(m_color, color); }
    // Where the box lies, in the overlay's bounds coordinates, as last laid out.
    Rect boxFrame() const { return m_boxFrame; }

    // --- Showing and hiding -----------------------------------------------------------------
    // The overlay stays at least this many seconds once shown; an earlier hide waits.
    double minShowTime() const { return m_minShowTime; }
    void setMinShowTime(double seconds) { m_minShowTime = seconds; }
    bool removeFromSuperViewOnHide() const { return m_removeFromSuperViewOnHide; }
    void setRemoveFromSuperViewOnHide(bool remove) { m_removeFromSuperViewOnHide = remove; }
    std::shared_ptr<ProgressHUDDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<ProgressHUDDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // Runs once, after the next hide (before the delegate hears of it). May be empty.
    void setCompletionBlock(std::function<void()> completion) {
        m_completionBlock = std::move(completion);
    }

    void show(bool animated);
    void hide(bool animated);
    void hide(bool animated, double delay);
    // Shows now and hides after `seconds` on the clock unless hidden before; the completion
    // runs once, after whichever hide comes first. This stands for running a background task
    // of that length under the overlay: the same effect without a sleeping thread.
    void showWhileExecutingDelay(double seconds, std::function<void()> completion);

    // Shown and not hidden since.
    bool isShowing() const { return m_state == State::Shown; }
    // Hidden after having been shown.
    bool isFinished() const { return m_state == State::Finished; }

    void layoutSubviews() override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;

    static constexpr double kDefaultMargin = 20;
    // Between the indicator and the labels.
    static constexpr double kPadding = 4;
    static constexpr double kCornerRadius = 10;
    static constexpr double kIndicatorSize = 37;

private:
    enum class State { Ready, Shown, Finished };

    std::shared_ptr<ProgressHUD> self();
    void updateIndicator();
    void hideNow();
    void cancelPendingHides();

    ProgressHUDMode m_mode{ProgressHUDMode::Indeterminate};
    std::string m_labelText;
    std::string m_detailsLabelText;
    Font m_labelFont{Font::boldSystemFont(16)};
    Font m_detailsLabelFont{Font::boldSystemFont(12)};
    std::shared_ptr<View> m_customView;
    float m_progress{0};

    bool m_dimBackground{false};
    double m_margin{kDefaultMargin};
    double m_yOffset{0};
    bool m_square{false};
    Color m_color{Color::whiteAlpha(0, 0.8f)};
    Rect m_boxFrame;
    Rect m_indicatorFrame;

    double m_minShowTime{0};
    bool m_removeFromSuperViewOnHide{false};
    std::weak_ptr<ProgressHUDDelegate> m_delegate;
    std::function<void()> m_completionBlock;

    State m_state{State::Ready};
    std::chrono::steady_clock::time_point m_shownAt{};
    // Hides waiting on the clock: delayed hides and one held back by minShowTime.
    std::vector<TaskHandle> m_pendingHides;
    bool m_minShowHidePending{false};

    std::shared_ptr<ActivityIndicatorView> m_activityIndicator;
    std::shared_ptr<Label> m_label;
    std::shared_ptr<Label> m_detailsLabel;
};

}  // namespace platform::components
