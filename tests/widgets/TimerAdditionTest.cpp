#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/RunLoop.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/TimerAddition.h"

namespace {

using widgettest::WidgetTest;

class TimerAdditionTest : public WidgetTest {
protected:
    // A repeating timer of one second that counts its fires.
    std::shared_ptr<platform::Timer> countingTimer() {
        return platform::RunLoop::main().scheduleTimer(platform::seconds(1), true,
                                                       [this](platform::Timer&) { ++fires; });
    }

    int fires = 0;
};

TEST_F(TimerAdditionTest, APausedTimerWaitsUntilResumedThenKeepsItsInterval) {
    auto timer = countingTimer();
    pauseTimer(*timer);
    advance(3600);
    EXPECT_EQ(fires, 0);

    resumeTimer(*timer);
    runPending();
    EXPECT_EQ(fires, 1);
    advance(0.99);
    EXPECT_EQ(fires, 1);
    advance(0.01);
    EXPECT_EQ(fires, 2);
    timer->invalidate();
}

TEST_F(TimerAdditionTest, ResumingAfterAnIntervalFiresThenAndEveryIntervalAfter) {
    auto timer = countingTimer();
    pauseTimer(*timer);
    resumeTimerAfterTimeInterval(*timer, 2.5);
    advance(2.49);
    EXPECT_EQ(fires, 0);
    advance(0.01);
    EXPECT_EQ(fires, 1);
    advance(1);
    EXPECT_EQ(fires, 2);
    timer->invalidate();
}

TEST_F(TimerAdditionTest, AnInvalidatedTimerStaysStopped) {
    auto timer = countingTimer();
    timer->invalidate();
    resumeTimer(*timer);
    resumeTimerAfterTimeInterval(*timer, 1);
    pauseTimer(*timer);
    advance(5);
    EXPECT_EQ(fires, 0);
    EXPECT_FALSE(timer->isValid());
}

}  // namespace
