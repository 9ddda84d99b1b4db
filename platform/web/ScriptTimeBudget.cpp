#include "platform/web/ScriptTimeBudget.h"

#include <algorithm>

namespace platform {

void ScriptTimeBudget::refill(TimePoint now) {
    // A clock that was set back (tests swap clocks) gives nothing, and takes nothing away.
    if (m_filledAt && now > *m_filledAt) {
        const Duration passed = now - *m_filledAt;
        const Duration room = Duration(kCapacity) - m_stored;
        m_stored += std::min(room, passed / 100 * kRefillPercent);
    }
    m_filledAt = now;
}

Duration ScriptTimeBudget::allowance(TimePoint now, Duration limit) {
    refill(now);
    if (m_stored < Duration::zero()) {
        return Duration::zero();
    }
    return std::min(limit, std::max(m_stored, Duration(kMinimumRun)));
}

void ScriptTimeBudget::spend(TimePoint start, TimePoint end) {
    refill(end);
    const Duration used = end > start ? end - start : Duration::zero();
    // A run that overran its allowance by far (one long call of the host) is paid back over
    // at most the time a full store takes to fill, so that the page is not shut out for good.
    m_stored = std::max(m_stored - used, -Duration(kCapacity));
}

}  // namespace platform
