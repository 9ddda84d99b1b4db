#include "platform/ui/Responder.h"

namespace platform {

void Responder::touchesBegan(const Touches& touches) {
    if (auto* next = nextResponder()) {
        next->touchesBegan(touches);
    }
}

void Responder::touchesMoved(const Touches& touches) {
    if (auto* next = nextResponder()) {
        next->touchesMoved(touches);
    }
}

void Responder::touchesEnded(const Touches& touches) {
    if (auto* next = nextResponder()) {
        next->touchesEnded(touches);
    }
}

void Responder::touchesCancelled(const Touches& touches) {
    if (auto* next = nextResponder()) {
        next->touchesCancelled(touches);
    }
}

}  // namespace platform
