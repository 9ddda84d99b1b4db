#include "components/hud/ProgressHUD.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "components/hud/ProgressHUDDelegate.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"

namespace platform::components {

namespace {

const Color kDimColor = Color::whiteAlpha(0, 0.5f);
const Color kContentColor = Color::white();

std::shared_ptr<Label> makeLabel(const Font& font, int lines) {
    auto label = View::make<Label>();
    label->setFont(font);
    label->setTextColor(kContentColor);
    label->setTextAlignment(TextAlignment::Center);
    label->setNumberOfLines(lines);
    label->setBackgroundColor(Color::clear());
    label->setOpaque(false);
    label->setHidden(true);
    return label;
}

}  // namespace

ProgressHUD::ProgressHUD(const Rect& frame) : View(frame) {
    setBackgroundColor(Color::clear());
    setOpaque(false);
    setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    // Not there until shown.
    setAlpha(0);
    m_label = makeLabel(m_labelFont, 1);
    m_detailsLabel = makeLabel(m_detailsLabelFont, 0);
    addSubview(m_label);
    addSubview(m_detailsLabel);
    updateIndicator();
}

ProgressHUD::ProgressHUD(View& view) : ProgressHUD(view.bounds()) {}

ProgressHUD::~ProgressHUD() = default;

// --- Class operations --------------------------------------------------------------------

std::shared_ptr<ProgressHUD> ProgressHUD::showHUDAddedTo(View& view, bool animated) {
    auto hud = View::make<ProgressHUD>(view);
    // Nobody else holds an overlay made here, so it should not linger once hidden.
    hud->setRemoveFromSuperViewOnHide(true);
    view.addSubview(hud);
    hud->show(animated);
    return hud;
}

bool ProgressHUD::hideHUDForView(View& view, bool animated) {
    auto hud = HUDForView(view);
    if (!hud) {
        return false;
    }
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hide(animated);
    return true;
}

std::shared_ptr<ProgressHUD> ProgressHUD::HUDForView(const View& view) {
    const auto& subviews = view.subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        auto hud = std::dynamic_pointer_cast<ProgressHUD>(*it);
        // One that has already hidden only waits to be taken away; the caller means the
        // overlay still up.
        if (hud && !hud->isFinished()) {
            return hud;
        }
    }
    return nullptr;
}

// --- Content ------------------------------------------------------------------------------

void ProgressHUD::setMode(ProgressHUDMode mode) {
    setDisplayed(m_mode, mode);
    updateIndicator();
}

void ProgressHUD::setLabelText(std::string text) {
    m_labelText = std::move(text);
    m_label->setText(m_labelText);
    m_label->setHidden(m_labelText.empty());
    setNeedsLayout();
}

void ProgressHUD::setDetailsLabelText(std::string text) {
    m_detailsLabelText = std::move(text);
    m_detailsLabel->setText(m_detailsLabelText);
    m_detailsLabel->setHidden(m_detailsLabelText.empty());
    setNeedsLayout();
}

void ProgressHUD::setLabelFont(const Font& font) {
    m_labelFont = font;
    m_label->setFont(font);
    setNeedsLayout();
}

void ProgressHUD::setDetailsLabelFont(const Font& font) {
    m_detailsLabelFont = font;
    m_detailsLabel->setFont(font);
    setNeedsLayout();
}

void ProgressHUD::setCustomView(std::shared_ptr<View> view) {
    if (m_customView == view) {
        return;
    }
    if (m_customView && m_customView->superview().get() == this) {
        m_customView->removeFromSuperview();
    }
    m_customView = std::move(view);
    updateIndicator();
}

void ProgressHUD::setProgress(float progress) {
    setDisplayed(m_progress, std::clamp(progress, 0.0f, 1.0f));
}

void ProgressHUD::setMargin(double margin) {
    m_margin = std::max(0.0, margin);
    setNeedsLayout();
}

void ProgressHUD::setYOffset(double offset) {
    m_yOffset = offset;
    setNeedsLayout();
}

void ProgressHUD::setSquare(bool square) {
    m_square = square;
    setNeedsLayout();
}

// Puts the view that the mode shows above the labels in place, and takes the others away.
void ProgressHUD::updateIndicator() {
    bool spinner = m_mode == ProgressHUDMode::Indeterminate;
    if (spinner && !m_activityIndicator) {
        m_activityIndicator =
            View::make<ActivityIndicatorView>(ActivityIndicatorViewStyle::WhiteLarge);
        addSubview(m_activityIndicator);
    } else if (!spinner && m_activityIndicator) {
        m_activityIndicator->stopAnimating();
        m_activityIndicator->removeFromSuperview();
        m_activityIndicator.reset();
    }
    if (m_activityIndicator && m_state == State::Shown) {
        m_activityIndicator->startAnimating();
    }
    if (m_customView) {
        if (m_mode == ProgressHUDMode::CustomView) {
            if (m_customView->superview().get() != this) {
                addSubview(m_customView);
            }
        } else if (m_customView->superview().get() == this) {
            m_customView->removeFromSuperview();
        }
    }
    setNeedsLayout();
}

// --- Showing and hiding --------------------------------------------------------------------

std::shared_ptr<ProgressHUD> ProgressHUD::self() {
    return std::static_pointer_cast<ProgressHUD>(weak_from_this().lock());
}

void ProgressHUD::show(bool /*animated*/) {
    m_state = State::Shown;
    m_shownAt = RunLoop::main().now();
    setAlpha(1);
    if (m_activityIndicator) {
        m_activityIndicator->startAnimating();
    }
    setNeedsLayout();
}

void ProgressHUD::hide(bool /*animated*/) {
    if (m_state != State::Shown) {
        return;
    }
    if (m_minShowTime > 0) {
        double shownFor = toSeconds(RunLoop::main().now() - m_shownAt);
        if (shownFor < m_minShowTime) {
            if (m_minShowHidePending) {
                return;
            }
            // Weak: the overlay holds the task's handle, so a strong capture would be a cycle.
            std::weak_ptr<ProgressHUD> weak = self();
            if (!weak.expired()) {
                m_minShowHidePending = true;
                m_pendingHides.push_back(
                    RunLoop::main().postDelayed(seconds(m_minShowTime - shownFor), [weak] {
                        auto hud = weak.lock();
                        if (!hud) {
                            return;
                        }
                        hud->m_minShowHidePending = false;
                        if (hud->isShowing()) {
                            hud->hideNow();
                        }
                    }));
                return;
            }
        }
    }
    hideNow();
}

void ProgressHUD::hide(bool animated, double delay) {
    std::weak_ptr<ProgressHUD> weak = self();
    if (weak.expired()) {
        // Not owned by a shared pointer: nothing could reach it then.
        return;
    }
    // Weak: the overlay holds the task's handle, so a strong capture would be a cycle, and
    // an overlay nobody holds any more (its view gone) has nothing left to hide.
    m_pendingHides.push_back(
        RunLoop::main().postDelayed(seconds(std::max(0.0, delay)), [weak, animated] {
            auto hud = weak.lock();
            // A screen that took the overlay away (or lost its view) is done with it.
            if (hud && hud->isShowing() && hud->superview()) {
                hud->hide(animated);
            }
        }));
}

void ProgressHUD::showWhileExecutingDelay(double seconds, std::function<void()> completion) {
    m_completionBlock = std::move(completion);
    show(true);
    hide(true, seconds);
}

void ProgressHUD::cancelPendingHides() {
    for (auto& handle : m_pendingHides) {
        handle.cancel();
    }
    m_pendingHides.clear();
    m_minShowHidePending = false;
}

void ProgressHUD::hideNow() {
    auto keep = self();
    cancelPendingHides();
    m_state = State::Finished;
    setAlpha(0);
    if (m_activityIndicator) {
        m_activityIndicator->stopAnimating();
    }
    if (m_removeFromSuperViewOnHide) {
        removeFromSuperview();
    }
    if (auto completion = std::move(m_completionBlock)) {
        m_completionBlock = nullptr;
        completion();
    }
    if (auto delegate = m_delegate.lock()) {
        delegate->hudWasHidden(*this);
    }
}

// --- Layout and drawing --------------------------------------------------------------------

void ProgressHUD::layoutSubviews() {
    Rect b = bounds();
    double maxWidth = std::max(0.0, b.size.width - 4 * m_margin);

    View* indicatorView = nullptr;
    Size indicator;
    switch (m_mode) {
        case ProgressHUDMode::Indeterminate:
            indicatorView = m_activityIndicator.get();
            break;
        case ProgressHUDMode::CustomView:
            indicatorView = m_customView.get();
            break;
        case ProgressHUDMode::Determinate:
            indicator = {kIndicatorSize, kIndicatorSize};
            break;
        case ProgressHUDMode::Text:
            break;
    }
    if (indicatorView) {
        indicator = indicatorView->bounds().size;
    }

    double width = indicator.width;
    double height = indicator.height;
    auto stack = [&](Size size) {
        width = std::max(width, size.width);
        height += (height > 0 ? kPadding : 0) + size.height;
    };
    Size labelSize;
    if (!m_labelText.empty()) {
        labelSize = m_label->sizeThatFits({maxWidth, 0});
        labelSize.width = std::min(labelSize.width, maxWidth);
        stack(labelSize);
    }
    Size detailsSize;
    if (!m_detailsLabelText.empty()) {
        detailsSize = m_detailsLabel->sizeThatFits({maxWidth, 0});
        detailsSize.width = std::min(detailsSize.width, maxWidth);
        // The details give way when the covered view is short.
        double room = b.size.height - 4 * m_margin - height - kPadding;
        detailsSize.height = std::max(0.0, std::min(detailsSize.height, room));
        stack(detailsSize);
    }

    Size box{width + 2 * m_margin, height + 2 * m_margin};
    if (m_square) {
        double side = std::max(box.width, box.height);
        box = {side, side};
    }
    setDisplayed(m_boxFrame,
                 Rect{{b.midX() - box.width / 2, b.midY() + m_yOffset - box.height / 2}, box});

    double y = m_boxFrame.midY() - height / 2;
    auto place = [&](Size size) {
        Rect frame{{m_boxFrame.midX() - size.width / 2, y}, size};
        y += size.height + kPadding;
        return frame;
    };
    setDisplayed(m_indicatorFrame,
                 indicator.width > 0 || indicator.height > 0 ? place(indicator) : Rect{});
    if (indicatorView) {
        indicatorView->setFrame(m_indicatorFrame);
    }
    m_label->setFrame(labelSize.height > 0 ? place(labelSize) : Rect{});
    m_detailsLabel->setFrame(detailsSize.height > 0 ? place(detailsSize) : Rect{});
}

void ProgressHUD::draw(BitmapContext& context, const Rect& rect) {
    if (m_dimBackground) {
        context.fillRect(rect, kDimColor);
    }
    context.fillRoundedRect(m_boxFrame, kCornerRadius, m_color);
    if (m_mode != ProgressHUDMode::Determinate || m_indicatorFrame.isEmpty()) {
        return;
    }
    // A ring whose inside fills clockwise from the top as the progress grows.
    Rect ring = m_indicatorFrame.insetBy(1, 1);
    context.strokeRoundedRect(ring, ring.size.width / 2, kContentColor, 2);
    cairo_t* cr = context.cairo();
    if (!cr || m_progress <= 0) {
        return;
    }
    const double pi = std::numbers::pi;
    Point c{ring.midX(), ring.midY()};
    double radius = ring.size.width / 2 - 2;
    cairo_save(cr);
    cairo_set_source_rgba(cr, kContentColor.red, kContentColor.green, kContentColor.blue,
                          kContentColor.alpha * context.alpha());
    cairo_move_to(cr, c.x, c.y);
    cairo_arc(cr, c.x, c.y, radius, -pi / 2, -pi / 2 + 2 * pi * m_progress);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

std::string ProgressHUD::describe() const {
    std::string kind = "overlay";
    switch (m_mode) {
        case ProgressHUDMode::Indeterminate:
            break;
        case ProgressHUDMode::Determinate:
            // Appended piece by piece: GCC 12's false -Wrestrict (see CMakeLists.txt).
            kind += ' ';
            kind += std::to_string(int(std::lround(m_progress * 100)));
            kind += '%';
            break;
        case ProgressHUDMode::CustomView:
            kind += " icon";
            break;
        case ProgressHUDMode::Text:
            kind += " text";
            break;
    }
    std::string text = m_labelText;
    if (!m_detailsLabelText.empty()) {
        text += (text.empty() ? "" : " / ") + m_detailsLabelText;
    }
    return "[" + kind + (text.empty() ? "" : ": " + text) + "]";
}

}  // namespace platform::components
