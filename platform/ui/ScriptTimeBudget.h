#pragma once

#include <chrono>
#include <optional>

#include "platform/foundation/RunLoop.h"

namespace platform {

// The script time a web view's pages may use over time, beside each run's own limit
// (ScriptDeadline::kLimit). A page whose runs take nearly their whole limit again and again
// (each page of a chain busy for most of a second before it loads the next) would otherwise
// keep a core busy for as long as it is shown. Runs draw on a store of kCapacity that fills
// again by kRefillPercent of the clock time that passes; a run may take what is in store, and
// never less than kMinimumRun, so that a page's handlers and replies still work while a
// hostile page has drained the store. Main thread only.
class ScriptTimeBudget {
public:
    static constexpr std::chrono::milliseconds kCapacity{2000};
    static constexpr int kRefillPercent = 10;
    static constexpr std::chrono::milliseconds kMinimumRun{100};

    // What a run starting at `now` may take, at most `limit`.
    Duration allowance(TimePoint now, Duration limit);
    // A run that started at `start` ended at `end`.
    void spend(TimePoint start, TimePoint end);

private:
    void refill(TimePoint now);

    Duration m_stored = kCapacity;
    std::optional<TimePoint> m_filledAt;
};

}  // namespace platform
