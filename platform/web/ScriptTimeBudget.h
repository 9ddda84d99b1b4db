#pragma once

#include <chrono>
#include <optional>

#include "platform/foundation/RunLoop.h"

namespace platform {

// The script time a web view's pages may use over time, beside each run's own limit
// (ScriptDeadline::kLimit). A page whose runs take nearly their whole limit again and again
// (each page of a chain busy for most of a second before it loads the next, a bridge reply
// that sends the next command and then loops) would otherwise keep a core busy for as long as
// it is shown. Runs draw on a store of kCapacity that fills again by kRefillPercent of the
// clock time that passes; a run may take what is in store.
//
// So that a page's handler or reply still works right after a hostile page has drained the
// store, a run may take kMinimumRun even when less is left, but that time is lent, not given:
// the store goes below empty, and until the refill has paid it back every run is given
// nothing (the web page does not start it). A page that starts run after run therefore gets
// the shortest run once per kMinimumRun * 100 / kRefillPercent of clock time, not once per
// run. Main thread only.
class ScriptTimeBudget {
public:
    static constexpr std::chrono::milliseconds kCapacity{2000};
    static constexpr int kRefillPercent = 10;
    static constexpr std::chrono::milliseconds kMinimumRun{100};

    // What a run starting at `now` may take, at most `limit`; zero while the store is below
    // empty.
    Duration allowance(TimePoint now, Duration limit);
    // A run that started at `start` ended at `end`.
    void spend(TimePoint start, TimePoint end);

private:
    void refill(TimePoint now);

    // Below zero while time lent to a run has not been paid back.
    Duration m_stored = kCapacity;
    std::optional<TimePoint> m_filledAt;
};

}  // namespace platform
