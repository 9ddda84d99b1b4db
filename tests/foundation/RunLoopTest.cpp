#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/RunLoop.h"

using namespace platform;

namespace {

class RunLoopTest : public ::testing::Test {
protected:
    void SetUp() override { RunLoop::main().useManualClock(); }
    void TearDown() override {
        RunLoop::main().reset();
        RunLoop::main().useRealClock();
    }
    RunLoop& loop = RunLoop::main();
};

TEST_F(RunLoopTest, DelayedTasksRunAtTheirOwnTimeInOrderUnlessCancelled) {
    std::vector<std::string> ran;
    auto start = loop.now();
    std::vector<double> at;
    loop.postDelayed(seconds(2), [&] {
        ran.push_back("two");
        at.push_back(toSeconds(loop.now() - start));
    });
    loop.postDelayed(seconds(1), [&] {
        ran.push_back("one");
        at.push_back(toSeconds(loop.now() - start));
    });
    loop.advance(seconds(0.999));
    EXPECT_TRUE(ran.empty());
    loop.advance(seconds(5));
    EXPECT_EQ(ran, (std::vector<std::string>{"one", "two"}));
    EXPECT_DOUBLE_EQ(at[0], 1.0);
    EXPECT_DOUBLE_EQ(at[1], 2.0);

    bool cancelledRan = false;
    auto handle = loop.postDelayed(seconds(1), [&] { cancelledRan = true; });
    EXPECT_TRUE(handle.isPending());
    handle.cancel();
    loop.advance(seconds(2));
    EXPECT_FALSE(cancelledRan) << "a cancelled task never runs";
    EXPECT_FALSE(handle.isPending());
}

TEST_F(RunLoopTest, RepeatingTimerFiresUntilInvalidated) {
    int fired = 0;
    auto timer = loop.scheduleTimer(seconds(2), true, [&](Timer& t) {
        if (++fired == 3)
            t.invalidate();
    });
    loop.advance(seconds(5));
    EXPECT_EQ(fired, 2);
    loop.advance(seconds(10));
    EXPECT_EQ(fired, 3);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(RunLoopTest, TimerFireDateCanBeMoved) {
    int fired = 0;
    auto timer = loop.scheduleTimer(seconds(2), true, [&](Timer&) { ++fired; });
    // Pushing the fire date far away pauses the timer, as the scanner's scan line does.
    timer->setFireDate(loop.now() + std::chrono::hours(1000));
    loop.advance(seconds(10));
    EXPECT_EQ(fired, 0);
    timer->setFireDate(loop.now() + seconds(0.5));
    loop.advance(seconds(0.5));
    EXPECT_EQ(fired, 1);
    timer->invalidate();
}

TEST_F(RunLoopTest, OneShotTimerLetsGoOfItsActionAfterFiring) {
    auto owned = std::make_shared<int>(1);
    std::weak_ptr<int> weak = owned;
    loop.scheduleTimer(seconds(1), false, [owned](Timer&) {});
    owned.reset();
    EXPECT_FALSE(weak.expired());
    loop.advance(seconds(1));
    EXPECT_TRUE(weak.expired());
}

TEST_F(RunLoopTest, CancellingOrResettingReleasesWhatADelayedTaskCaptured) {
    auto captured = std::make_shared<int>(1);
    std::weak_ptr<int> weak = captured;
    auto handle = loop.postDelayed(seconds(60), [captured] {});
    captured.reset();
    ASSERT_FALSE(weak.expired());
    handle.cancel();
    EXPECT_TRUE(weak.expired()) << "released at cancel, not when the clock reaches the task";

    // An object that holds the handle of a task capturing the object itself: reset must
    // break the pair, or neither is ever freed.
    struct Holder {
        TaskHandle pending;
    };
    auto holder = std::make_shared<Holder>();
    std::weak_ptr<Holder> weakHolder = holder;
    holder->pending = loop.postDelayed(seconds(60), [holder] {});
    holder.reset();
    ASSERT_FALSE(weakHolder.expired());
    loop.reset();
    EXPECT_TRUE(weakHolder.expired());
}

TEST_F(RunLoopTest, PostsFromOtherThreadsRunOnTheLoopThread) {
    std::atomic<int> count{0};
    bool allOnLoop = true;
    for (int i = 0; i < 20; ++i)
        dispatch::async([&] {
            dispatch::mainAsync([&] {
                allOnLoop = allOnLoop && loop.isCurrent();
                ++count;
            });
        });
    EXPECT_TRUE(loop.runUntil([&] { return count == 20; }, std::chrono::seconds(5)));
    EXPECT_TRUE(allOnLoop);
    EXPECT_FALSE(loop.runUntil([] { return false; }, std::chrono::milliseconds(20)))
        << "runUntil gives up after its bound";
}

TEST_F(RunLoopTest, AWakeMakesAWaitingRunUntilLookAgainAndIsKeptUntilAWaitSeesIt) {
    // Nothing is posted and nothing falls due: only the wake can end these waits before their
    // hour is out, so a lost wake shows as the test's own time-out.
    constexpr auto kHour = std::chrono::hours(1);
    int checks = 0;
    loop.wake();  // before anyone waits
    EXPECT_TRUE(loop.runUntil([&] { return ++checks == 2; }, kHour));

    // From another thread, once the loop has found the condition false.
    std::atomic<int> looked{0};
    std::atomic<bool> ready{false};
    std::thread other([&] {
        while (looked.load() == 0) std::this_thread::yield();
        ready = true;
        loop.wake();
    });
    EXPECT_TRUE(loop.runUntil(
        [&] {
            ++looked;
            return ready.load();
        },
        kHour));
    other.join();
}

TEST(SkippingClockTest, SkippedTimeIsSeenByTheLoopAsTimeThatPassed) {
    RunLoop& loop = RunLoop::main();
    auto clock = loop.useSkippingClock();
    const auto before = loop.now();
    std::vector<std::string> ran;
    loop.postDelayed(std::chrono::hours(2), [&] { ran.push_back("in two hours"); });
    loop.postDelayed(std::chrono::hours(1), [&] { ran.push_back("in an hour"); });
    EXPECT_FALSE(loop.hasWorkDueNow());

    clock->skip(std::chrono::hours(1));
    clock->skip(-std::chrono::hours(5));  // time never runs back
    EXPECT_GE(loop.now() - before, std::chrono::hours(1));
    EXPECT_TRUE(loop.hasWorkDueNow());
    loop.runPending();
    EXPECT_EQ(ran, std::vector<std::string>{"in an hour"});

    // Work due a moment after the skipped time runs a moment later, not an hour later (a loop
    // that waited for it by the real clock would sit out the test's time-out).
    loop.postDelayed(std::chrono::milliseconds(10), [&] { ran.push_back("soon"); });
    EXPECT_TRUE(loop.runUntil([&] { return ran.size() == 2; }, std::chrono::hours(1)));
    EXPECT_EQ(ran.back(), "soon");
    loop.reset();
    loop.useRealClock();
}

TEST(SemaphoreTest, WaitTimesOutWithoutSignal) {
    Semaphore s;
    EXPECT_FALSE(s.wait(std::chrono::milliseconds(10)));
    std::thread t([&] { s.signal(); });
    EXPECT_TRUE(s.wait(std::chrono::seconds(5)));
    t.join();
}

}  // namespace
