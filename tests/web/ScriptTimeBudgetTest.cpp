// The script time a web view's pages may use over time, as a page that never stops asking
// for more would use it.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/foundation/RunLoop.h"
#include "platform/web/ScriptTimeBudget.h"

using namespace platform;
using namespace std::chrono_literals;

namespace {

constexpr Duration kRunLimit = 1s;

// A page that starts its next run as soon as the last one ends (a bridge reply that sends the
// next command and then loops), each taking all it is given. Answers the script time it got
// over `window` of clock time.
Duration timeTakenByARestlessPage(ScriptTimeBudget& budget, TimePoint& now, Duration window) {
    const TimePoint end = now + window;
    Duration taken{};
    while (now < end) {
        const Duration given = budget.allowance(now, kRunLimit);
        // A run given nothing is not started; the next command still comes a moment later.
        const Duration ran = given > Duration::zero() ? given + 2ms : Duration::zero();
        const TimePoint start = now;
        now += ran + 1ms;
        budget.spend(start, start + ran);
        taken += ran;
    }
    return taken;
}

TEST(ScriptTimeBudget, APageThatRunsWithoutRestGetsTheStoreAndItsRefillNotARunEachTime) {
    ScriptTimeBudget budget;
    TimePoint now{1h};
    const Duration taken = timeTakenByARestlessPage(budget, now, 10s);
    // The full store, a tenth of the time that passed, and the shortest run lent once more.
    const Duration most = ScriptTimeBudget::kCapacity +
                          10s * ScriptTimeBudget::kRefillPercent / 100 +
                          ScriptTimeBudget::kMinimumRun + 50ms;
    EXPECT_LE(taken, most) << std::chrono::duration_cast<std::chrono::milliseconds>(taken).count();
    EXPECT_GE(taken, ScriptTimeBudget::kCapacity);

    // Kept up for a minute, it settles at the refill's share of the time.
    const Duration later = timeTakenByARestlessPage(budget, now, 60s);
    EXPECT_LE(later,
              60s * ScriptTimeBudget::kRefillPercent / 100 + ScriptTimeBudget::kMinimumRun + 100ms)
        << std::chrono::duration_cast<std::chrono::milliseconds>(later).count();
}

TEST(ScriptTimeBudget, APageThatRestsAfterARestlessOneGetsItsTimeBack) {
    ScriptTimeBudget budget;
    TimePoint now{1h};
    timeTakenByARestlessPage(budget, now, 5s);
    // What was lent is paid back by a second of rest: a reply then gets the shortest run at
    // least...
    now += ScriptTimeBudget::kMinimumRun * 100 / ScriptTimeBudget::kRefillPercent + 100ms;
    EXPECT_GE(budget.allowance(now, kRunLimit), ScriptTimeBudget::kMinimumRun);
    // ...and once the store is full again, a whole run.
    now += 30s;
    EXPECT_EQ(budget.allowance(now, kRunLimit), kRunLimit);
}

}  // namespace
