#pragma once

#include "platform/ui/GestureRecognizer.h"

namespace platform {

// Recognises one tap: the touch ends without having moved further than a small distance.
class TapGestureRecognizer : public GestureRecognizer {
public:
    using GestureRecognizer::GestureRecognizer;

    static constexpr double kAllowableMovement = 10;

    void touchesBegan(const Touches& touches) override;
    void touchesMoved(const Touches& touches) override;
    void touchesEnded(const Touches& touches) override;
    void touchesCancelled(const Touches& touches) override;
    bool yieldsToControls() const override { return true; }

private:
    Point m_start;
};

}  // namespace platform
