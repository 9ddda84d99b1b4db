#include <gtest/gtest.h>

#include "platform/foundation/RunLoop.h"

using namespace platform;

namespace {

// What a caller waiting for quiet asks the loop: is anything due now, and when is the next
// one-shot task due. Time moves here only by setting the manual clock, which runs nothing.
class RunLoopIdleTest : public ::testing::Test {
protected:
    void SetUp() override { clock = loop.useManualClock(); }
    void TearDown() override {
        loop.reset();
        loop.useRealClock();
    }
    void moveClock(Duration by) { clock->set(clock->now() + by); }

    RunLoop& loop = RunLoop::main();
    std::shared_ptr<ManualClock> clock;
};

TEST_F(RunLoopIdleTest, PostedTasksAndDelayedTasksCountOnlyOnceDue) {
    EXPECT_FALSE(loop.hasWorkDueNow());
    EXPECT_EQ(loop.nextOneShotDue(), std::nullopt);

    loop.post([] {});
    EXPECT_TRUE(loop.hasWorkDueNow());
    loop.runPending();
    EXPECT_FALSE(loop.hasWorkDueNow());

    auto later = loop.postDelayed(seconds(3), [] {});
    loop.postDelayed(seconds(2), [] {});
    EXPECT_FALSE(loop.hasWorkDueNow());
    EXPECT_EQ(loop.nextOneShotDue(), loop.now() + seconds(2));
    moveClock(seconds(2));
    EXPECT_TRUE(loop.hasWorkDueNow());
    loop.runPending();
    EXPECT_FALSE(loop.hasWorkDueNow());
    EXPECT_EQ(loop.nextOneShotDue(), loop.now() + seconds(1));

    later.cancel();
    moveClock(seconds(1));
    EXPECT_FALSE(loop.hasWorkDueNow()) << "a cancelled task is not work";
    EXPECT_EQ(loop.nextOneShotDue(), std::nullopt);
}

TEST_F(RunLoopIdleTest, ARepeatingTimerCountsOnlyWhenDueAndAOneShotTimerAsATask) {
    auto repeating = loop.scheduleTimer(seconds(1), true, [](Timer&) {});
    EXPECT_EQ(loop.nextOneShotDue(), std::nullopt);
    EXPECT_FALSE(loop.hasWorkDueNow());
    moveClock(seconds(1));
    EXPECT_TRUE(loop.hasWorkDueNow());
    loop.runPending();
    EXPECT_FALSE(loop.hasWorkDueNow());
    EXPECT_EQ(loop.nextOneShotDue(), std::nullopt) << "its next firing does not count either";

    auto once = loop.scheduleTimer(seconds(5), false, [](Timer&) {});
    EXPECT_EQ(loop.nextOneShotDue(), loop.now() + seconds(5));
    once->invalidate();
    repeating->invalidate();
    EXPECT_EQ(loop.nextOneShotDue(), std::nullopt);
}

}  // namespace
