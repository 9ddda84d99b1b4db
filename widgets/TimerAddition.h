#pragma once

namespace platform {
class Timer;
}  // namespace platform

// Pausing and resuming a scheduled run-loop timer by moving its fire date. Each acts only on
// a timer that is still valid and does nothing to an invalidated one.

// The timer next fires in the distant future, that is, not before it is resumed.
void pauseTimer(platform::Timer& timer);
// The timer fires at once, on the run loop's next pass.
void resumeTimer(platform::Timer& timer);
// The timer next fires `seconds` from now, then every interval after that.
void resumeTimerAfterTimeInterval(platform::Timer& timer, double seconds);
