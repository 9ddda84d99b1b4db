#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "platform/foundation/CheckedTime.h"
#include "platform/foundation/Dates.h"
#include "platform/foundation/RunLoop.h"

namespace platform {
namespace {

using std::chrono::nanoseconds;
using std::chrono::system_clock;

TEST(CheckedTime, SecondsBeyondANanosecondClockGiveNothingNotAWrappedTime) {
    EXPECT_EQ(durationFromSeconds<nanoseconds>(1.5), nanoseconds(1'500'000'000));
    EXPECT_EQ(durationFromSeconds<nanoseconds>(-2), nanoseconds(-2'000'000'000));
    EXPECT_TRUE(durationFromSeconds<nanoseconds>(9.2e9));
    for (double bad : {9.3e9, -9.3e9, 1e11, 3e17, 1e300, std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::quiet_NaN()}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(durationFromSeconds<nanoseconds>(bad));
        EXPECT_FALSE(timePointFromSeconds(bad));
    }
    // Dates keep to half the range, so that two of them can always be subtracted.
    ASSERT_TRUE(timePointFromSeconds(4e9));
    EXPECT_FALSE(timePointFromSeconds(5e9));
    const auto late = *timePointFromSeconds(4.6e9);
    const auto early = *timePointFromSeconds(-4.6e9);
    EXPECT_GT(late - early, nanoseconds::zero());

    const system_clock::time_point now{std::chrono::seconds(1'700'000'000)};
    EXPECT_EQ(dateAfterSeconds(now, 3600), now + std::chrono::hours(1));
    EXPECT_FALSE(dateAfterSeconds(now, 3e17));
    EXPECT_FALSE(dateAfterSeconds(now, 3e9));
    EXPECT_FALSE(checkedAdd(system_clock::time_point::max(), system_clock::duration(1)));
    EXPECT_FALSE(checkedMultiply(seconds(1e9), 10));
    EXPECT_EQ(checkedMultiply(seconds(2), 3), seconds(6));
}

TEST(CheckedTime, ParsedDatesBeyondTheClocksReachAreNotDates) {
    EXPECT_TRUE(parseDate("2100-01-01", "yyyy-MM-dd", "UTC"));
    EXPECT_FALSE(parseDate("9999-01-01", "yyyy-MM-dd", "UTC"));
    EXPECT_FALSE(parseDate("1000-01-01", "yyyy-MM-dd", "UTC"));
}

TEST(CheckedTime, AnyDelayTooLongForTheClockIsDueNever) {
    auto& loop = RunLoop::main();
    loop.useManualClock();
    int ran = 0;
    for (double huge : {1e10, 1e300, std::numeric_limits<double>::infinity()})
        loop.postDelayed(seconds(huge), [&ran] { ++ran; });
    auto timer = loop.scheduleTimer(seconds(1e12), true, [&ran](Timer&) { ++ran; });
    loop.advance(seconds(9e9));
    EXPECT_EQ(ran, 0);
    timer->invalidate();
    EXPECT_EQ(seconds(std::numeric_limits<double>::quiet_NaN()), Duration::zero());
    EXPECT_EQ(seconds(-1e300), Duration::min());
    loop.reset();
    loop.useRealClock();
}

// On the real clock the loop sleeps until its first delayed task; one due never must not turn
// that into a time already past, which would make every wait return at once.
TEST(CheckedTime, ATaskDueNeverLetsTheRealClockLoopSleep) {
    auto& loop = RunLoop::main();
    loop.useRealClock();
    loop.postDelayed(seconds(1e300), [] {});
    int looks = 0;
    EXPECT_FALSE(loop.runUntil([&looks] { return ++looks < 0; }, std::chrono::milliseconds(50)));
    EXPECT_LT(looks, 10) << "the loop woke again and again instead of sleeping";
    loop.reset();
}

}  // namespace
}  // namespace platform
