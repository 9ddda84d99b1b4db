#pragma once

#include "platform/ui/Touch.h"

namespace platform {

class GestureRecognizer;

// Optional say over a gesture recogniser; each default is what the phone does when the
// delegate does not implement the method.
class GestureRecognizerDelegate {
public:
    virtual ~GestureRecognizerDelegate() = default;
    virtual bool gestureRecognizerShouldBegin(GestureRecognizer& /*recognizer*/) { return true; }
    virtual bool gestureRecognizerShouldReceiveTouch(GestureRecognizer& /*recognizer*/,
                                                     const Touch& /*touch*/) {
        return true;
    }
    virtual bool gestureRecognizerShouldRecognizeSimultaneously(GestureRecognizer& /*recognizer*/,
                                                                GestureRecognizer& /*other*/) {
        return false;
    }
};

}  // namespace platform
