#pragma once

#include "platform/ui/Touch.h"

namespace platform {

// The phone's UIResponder: something that takes part in the responder chain. Touches a
// responder does not handle go on to its next responder.
class Responder {
public:
    virtual ~Responder() = default;

    // Not owned; valid for the duration of the call that asked.
    virtual Responder* nextResponder() const { return nullptr; }

    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool canResignFirstResponder() const { return true; }
    virtual bool becomeFirstResponder() { return false; }
    virtual bool resignFirstResponder() { return true; }
    virtual bool isFirstResponder() const { return false; }

    virtual void touchesBegan(const Touches& touches);
    virtual void touchesMoved(const Touches& touches);
    virtual void touchesEnded(const Touches& touches);
    virtual void touchesCancelled(const Touches& touches);
};

}  // namespace platform
