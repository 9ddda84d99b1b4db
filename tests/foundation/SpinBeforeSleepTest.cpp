#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/foundation/SpinBeforeSleep.h"

using platform::SpinBeforeSleep;
using std::chrono::microseconds;
using std::chrono::seconds;

namespace {

void recordTimes(SpinBeforeSleep& look, microseconds waited, int times) {
    for (int i = 0; i < times; ++i) look.record(waited);
}

TEST(SpinBeforeSleepTest, LooksOnlyOnceHandOffsHaveComeQuicklyAndNeverPastTheBound) {
    SpinBeforeSleep look(microseconds(500));
    EXPECT_EQ(look.budget(), SpinBeforeSleep::Duration::zero());

    recordTimes(look, microseconds(100), 20);
    // Twice the typical wait: enough to catch most hand-offs that come about as quickly.
    EXPECT_GE(look.budget(), microseconds(190));
    EXPECT_LE(look.budget(), microseconds(220));

    recordTimes(look, microseconds(400), 20);
    EXPECT_EQ(look.budget(), microseconds(500));
}

TEST(SpinBeforeSleepTest, SlowHandOffsStopTheLookingAndOneLongWaitDoesNotStopItForLong) {
    SpinBeforeSleep look(microseconds(500));
    recordTimes(look, microseconds(50), 20);
    ASSERT_GT(look.budget(), SpinBeforeSleep::Duration::zero());

    recordTimes(look, microseconds(5000), 5);
    EXPECT_EQ(look.budget(), SpinBeforeSleep::Duration::zero());

    // An idle minute weighs no more than twice the bound, so a few quick hand-offs resume it.
    look.record(seconds(60));
    recordTimes(look, microseconds(50), 8);
    EXPECT_GT(look.budget(), SpinBeforeSleep::Duration::zero());
}

TEST(SpinBeforeSleepTest, WithoutABoundItNeverLooks) {
    SpinBeforeSleep never(microseconds(0));
    recordTimes(never, microseconds(0), 10);
    EXPECT_EQ(never.budget(), SpinBeforeSleep::Duration::zero());
}

TEST(SpinBeforeSleepTest, LookingFindsWorkHandedOverAndGivesUpAtOnceWithoutABudget) {
    std::atomic<bool> ready{false};
    SpinBeforeSleep idle(microseconds(500));
    EXPECT_FALSE(idle.lookFor(ready));  // no budget yet: straight to sleep
    ready = true;
    EXPECT_TRUE(idle.lookFor(ready));

    // A look far longer than the hand-off can take, so that only the hand-off ends it: waits of
    // 15 s make the budget the whole 30 s bound.
    SpinBeforeSleep patient(seconds(30));
    recordTimes(patient, seconds(15), 40);
    ASSERT_GT(patient.budget(), seconds(1));
    EXPECT_EQ(patient.budget(), seconds(30));
    std::atomic<bool> handedOver{false};
    std::thread other([&] { handedOver = true; });
    EXPECT_TRUE(patient.lookFor(handedOver));
    other.join();

    std::atomic<bool> never{false};
    EXPECT_FALSE(patient.lookFor(never, microseconds(0)));
}

}  // namespace
