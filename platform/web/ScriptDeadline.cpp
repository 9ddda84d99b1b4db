#include "platform/web/ScriptDeadline.h"

#include <utility>

#include "platform/foundation/RunLoop.h"
#include "platform/web/ScriptTimeBudget.h"

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

void ScriptDeadline::setBudget(std::shared_ptr<ScriptTimeBudget> budget) {
    m_budget = std::move(budget);
}

void ScriptDeadline::start() {
    if (m_depth++ == 0) {
        m_passed = false;
        m_started = now();
        m_deadline = m_started + (m_budget ? m_budget->allowance(m_started, kLimit) : kLimit);
    }
}

void ScriptDeadline::finish() {
    if (m_depth > 0 && --m_depth == 0) {
        m_passed = false;
        if (m_budget) {
            m_budget->spend(m_started, now());
        }
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
