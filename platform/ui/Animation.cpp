#include "platform/ui/Animation.h"

#include <algorithm>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/View.h"

namespace platform {

void View::animate(double duration, const std::function<void()>& animations,
                   std::function<void(bool)> completion) {
    animateWithDuration(duration, 0, AnimationOptions::None, animations, std::move(completion));
}

void View::animateWithDuration(double duration, double delay, AnimationOptions /*options*/,
                               const std::function<void()>& animations,
                               std::function<void(bool)> completion) {
    // Nothing is drawn in between, so the end state is the only state anyone can observe.
    if (animations) {
        animations();
    }
    if (!completion) {
        return;
    }
    double total = std::max(0.0, duration) + std::max(0.0, delay);
    RunLoop::main().postDelayed(seconds(total),
                                [completion = std::move(completion)] { completion(true); });
}

}  // namespace platform
