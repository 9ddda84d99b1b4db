#pragma once

#include "platform/foundation/RunLoop.h"
#include "platform/ui/GestureRecognizer.h"

namespace platform {

// Recognises a drag once the touch has moved a small distance; then reports every move
// (Changed) and the lift (Ended).
class PanGestureRecognizer : public GestureRecognizer {
public:
    using GestureRecognizer::GestureRecognizer;

    static constexpr double kHysteresis = 10;

    // How far the touch has moved since it went down (or since setTranslation), in the
    // view's coordinates; null = window coordinates.
    Point translationInView(const View* view) const;
    void setTranslation(Point translation, const View* view);
    // Points per second over the last move, by the main run loop's clock (zero when no time
    // passed).
    Point velocityInView(const View* view) const;

    void touchesBegan(const Touches& touches) override;
    void touchesMoved(const Touches& touches) override;
    void touchesEnded(const Touches& touches) override;
    void touchesCancelled(const Touches& touches) override;

protected:
    // Whether the movement so far (window coordinates) may start the pan.
    virtual bool canBeginWithMovement(Point /*start*/, Point /*current*/) const { return true; }
    Point startLocation() const { return m_start; }

private:
    Point m_start;
    Point m_translationBase;
    Point m_translationOffset;
    Point m_previous;
    Point m_velocity;
    TimePoint m_lastMoveTime{};
};

}  // namespace platform
