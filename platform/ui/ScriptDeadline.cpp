#include "platform/ui/ScriptDeadline.h"

#include <utility>

#include "platform/foundation/RunLoop.h"

namespace platform {

namespace {

std::shared_ptr<const Clock>& clockSet() {
    static std::shared_ptr<const Clock> clock;
    return clock;
}

std::chrono::steady_clock::time_point now() {
    const auto& clock = clockSet();
    return clock ? clock->now() : std::chrono::steady_clock::now();
}

}  // namespace

void ScriptDeadline::setClock(std::shared_ptr<const Clock> clock) {
    clockSet() = std::move(clock);
}

void ScriptDeadline::start() {
    if (m_depth++ == 0) {
        m_passed = false;
        m_deadline = now() + kLimit;
    }
}

void ScriptDeadline::finish() {
    if (m_depth > 0 && --m_depth == 0) {
        m_passed = false;
    }
}

bool ScriptDeadline::passed() {
    if (m_depth == 0) {
        return true;
    }
    if (!m_passed && now() >= m_deadline) {
        m_passed = true;
    }
    return m_passed;
}

}  // namespace platform
