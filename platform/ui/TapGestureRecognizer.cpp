#include "platform/ui/TapGestureRecognizer.h"

#include <cmath>

namespace platform {

void TapGestureRecognizer::touchesBegan(const Touches& touches) {
    GestureRecognizer::touchesBegan(touches);
    m_start = lastLocation();
}

void TapGestureRecognizer::touchesMoved(const Touches& touches) {
    GestureRecognizer::touchesMoved(touches);
    Point now = lastLocation();
    if (state() == GestureState::Possible &&
        std::hypot(now.x - m_start.x, now.y - m_start.y) > kAllowableMovement) {
        setState(GestureState::Failed);
    }
}

void TapGestureRecognizer::touchesEnded(const Touches& touches) {
    GestureRecognizer::touchesEnded(touches);
    if (state() == GestureState::Possible) {
        setState(GestureState::Ended);
    }
}

void TapGestureRecognizer::touchesCancelled(const Touches& touches) {
    GestureRecognizer::touchesCancelled(touches);
    if (state() == GestureState::Possible) {
        setState(GestureState::Failed);
    }
}

}  // namespace platform
