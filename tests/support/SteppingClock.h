#pragma once

#include <chrono>
#include <memory>

#include "platform/foundation/RunLoop.h"
#include "platform/web/ScriptDeadline.h"

namespace testsupport {

// Script time that moves a quarter second (or the step given) at every reading, so that a
// runaway script meets its deadline after a handful of the engine's checks, however fast the
// machine runs.
class SteppingClock : public platform::Clock {
public:
    SteppingClock() = default;
    explicit SteppingClock(platform::Duration step) : m_step(step) {}

    platform::TimePoint now() const override {
        m_now += m_step;
        return m_now;
    }
    // The latest reading, read without moving: what a step of a test took is the difference.
    platform::TimePoint last() const { return m_now; }

private:
    platform::Duration m_step = std::chrono::milliseconds(250);
    mutable platform::TimePoint m_now{std::chrono::hours(1)};
};

// Page scripts' time on a stepping clock while it lives; the steady clock again after.
class SteppedScriptTime {
public:
    SteppedScriptTime() { platform::ScriptDeadline::setClock(std::make_shared<SteppingClock>()); }
    ~SteppedScriptTime() { platform::ScriptDeadline::setClock(nullptr); }
    SteppedScriptTime(const SteppedScriptTime&) = delete;
    SteppedScriptTime& operator=(const SteppedScriptTime&) = delete;
};

}  // namespace testsupport
