#include "widgets/TimerAddition.h"

#include <chrono>

#include "platform/foundation/RunLoop.h"

namespace {

// Far enough never to come while the process runs, near enough that the clock's arithmetic
// on it cannot overflow (the run loop adds it to its own reading of now).
constexpr auto kDistantFuture = std::chrono::hours(24 * 365 * 100);

}  // namespace

void pauseTimer(platform::Timer& timer) {
    if (!timer.isValid())
        return;
    timer.setFireDate(platform::RunLoop::main().now() + kDistantFuture);
}

void resumeTimer(platform::Timer& timer) {
    if (!timer.isValid())
        return;
    timer.setFireDate(platform::RunLoop::main().now());
}

void resumeTimerAfterTimeInterval(platform::Timer& timer, double seconds) {
    if (!timer.isValid())
        return;
    timer.setFireDate(platform::RunLoop::main().now() + platform::seconds(seconds));
}
