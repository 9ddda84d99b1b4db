#pragma once

#include <chrono>
#include <memory>

#include "platform/foundation/RunLoop.h"
#include "platform/web/ScriptDeadline.h"

namespace testsupport {

// Script time that moves a quarter second at every reading, so that a runaway script meets
// its deadline after a handful of the engine's checks, however fast the machine runs.
class SteppingClock : public platform::Clock {
public:
    platform::TimePoint now() const override {
        m_now += std::chrono::milliseconds(250);
        return m_now;
    }

private:
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
