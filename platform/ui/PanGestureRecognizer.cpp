#include "platform/ui/PanGestureRecognizer.h"

#include <cmath>

#include "platform/ui/View.h"

namespace platform {

Point PanGestureRecognizer::translationInView(const View* view) const {
    Point base = m_translationBase;
    Point now = lastLocation();
    if (view) {
        base = view->convertPointFrom(base, nullptr);
        now = view->convertPointFrom(now, nullptr);
    }
    return {now.x - base.x + m_translationOffset.x, now.y - base.y + m_translationOffset.y};
}

void PanGestureRecognizer::setTranslation(Point translation, const View* /*view*/) {
    m_translationBase = lastLocation();
    m_translationOffset = translation;
}

Point PanGestureRecognizer::velocityInView(const View* /*view*/) const {
    return m_velocity;
}

void PanGestureRecognizer::touchesBegan(const Touches& touches) {
    GestureRecognizer::touchesBegan(touches);
    m_start = m_translationBase = m_previous = lastLocation();
    m_translationOffset = {};
    m_velocity = {};
    m_lastMoveTime = RunLoop::main().now();
}

void PanGestureRecognizer::touchesMoved(const Touches& touches) {
    GestureRecognizer::touchesMoved(touches);
    Point now = lastLocation();
    TimePoint time = RunLoop::main().now();
    double elapsed = toSeconds(time - m_lastMoveTime);
    m_velocity = elapsed > 0
                     ? Point{(now.x - m_previous.x) / elapsed, (now.y - m_previous.y) / elapsed}
                     : Point{};
    m_previous = now;
    m_lastMoveTime = time;

    switch (state()) {
        case GestureState::Possible:
            if (std::hypot(now.x - m_start.x, now.y - m_start.y) >= kHysteresis) {
                setState(canBeginWithMovement(m_start, now) ? GestureState::Began
                                                            : GestureState::Failed);
            }
            break;
        case GestureState::Began:
        case GestureState::Changed:
            setState(GestureState::Changed);
            break;
        default:
            break;
    }
}

void PanGestureRecognizer::touchesEnded(const Touches& touches) {
    GestureRecognizer::touchesEnded(touches);
    if (state() == GestureState::Began || state() == GestureState::Changed) {
        setState(GestureState::Ended);
    } else if (state() == GestureState::Possible) {
        setState(GestureState::Failed);
    }
}

void PanGestureRecognizer::touchesCancelled(const Touches& touches) {
    GestureRecognizer::touchesCancelled(touches);
    if (state() == GestureState::Began || state() == GestureState::Changed) {
        setState(GestureState::Cancelled);
    } else if (state() == GestureState::Possible) {
        setState(GestureState::Failed);
    }
}

}  // namespace platform
