#include "app/Settle.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"

namespace frontend {

namespace {

std::chrono::milliseconds realBound(double seconds) {
    return std::chrono::milliseconds(std::llround(std::max(0.0, seconds) * 1000));
}

// Nothing in flight and nothing due now; what falls due later is the caller's to judge.
bool quiet(platform::RunLoop& loop) {
    // Background work first: a block posts its result before it counts as finished.
    return platform::dispatch::backgroundWorkInFlight() == 0 &&
           platform::HttpClient::shared().inFlight() == 0 && !loop.hasWorkDueNow();
}

}  // namespace

bool settle(const SettleTiming& timing) {
    platform::RunLoop& loop = platform::RunLoop::main();
    const platform::Duration window = platform::seconds(std::max(0.0, timing.transitionSeconds));
    auto idle = [&] {
        if (!quiet(loop))
            return false;
        // On a manual clock nothing falls due unless someone moves the clock: only the real
        // clock's transitions can be waited for.
        auto next = loop.nextOneShotDue();
        return !next || loop.hasManualClock() || *next > loop.now() + window;
    };
    // Between checks the loop sleeps until a completion is posted or a task falls due.
    return loop.runUntil(idle, realBound(timing.boundSeconds));
}

bool settleTimedChanges(const std::shared_ptr<platform::SkippingClock>& clock,
                        double boundSeconds) {
    platform::RunLoop& loop = platform::RunLoop::main();
    const auto deadline = std::chrono::steady_clock::now() + realBound(boundSeconds);
    const platform::TimePoint horizon = loop.now() + platform::seconds(kTimedChangesSeconds);
    while (true) {
        const auto left = std::max(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       deadline - std::chrono::steady_clock::now()),
                                   std::chrono::milliseconds::zero());
        // Replies and background work take the real time they take.
        if (!loop.runUntil([&] { return quiet(loop); }, left))
            return false;
        const auto next = loop.nextOneShotDue();
        if (!next || *next > horizon)
            return true;
        if (clock) {
            clock->skip(*next - loop.now());
        } else if (!loop.runUntil([&] { return loop.now() >= *next; }, left)) {
            return false;
        }
    }
}

}  // namespace frontend
