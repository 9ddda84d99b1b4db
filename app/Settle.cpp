#include "app/Settle.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/WebView.h"

namespace frontend {

namespace {

std::chrono::milliseconds realBound(double seconds) {
    return std::chrono::milliseconds(std::llround(std::max(0.0, seconds) * 1000));
}

// How many times SettleTiming::visibleWaitSeconds a page being loaded is given.
constexpr int kPageWaitFactor = 3;

// Nothing in flight and nothing due now; what falls due later is the caller's to judge.
bool quiet(platform::RunLoop& loop) {
    // Background work first: a block posts its result before it counts as finished.
    return platform::dispatch::backgroundWorkInFlight() == 0 &&
           platform::HttpClient::shared().inFlight() == 0 && !platform::WebView::anyBusy() &&
           !loop.hasWorkDueNow();
}

}  // namespace

bool settle(const SettleTiming& timing, const std::function<bool()>& waitsVisibly) {
    platform::RunLoop& loop = platform::RunLoop::main();
    const platform::Duration window = platform::seconds(std::max(0.0, timing.transitionSeconds));
    std::optional<std::chrono::steady_clock::time_point> waitingSince;
    const auto visibleBound = realBound(timing.visibleWaitSeconds);
    auto idle = [&] {
        if (!quiet(loop)) {
            // The user sees the client wait: after a while the prompt is theirs again.
            if (!waitsVisibly || !waitsVisibly()) {
                waitingSince.reset();
                return false;
            }
            const auto now = std::chrono::steady_clock::now();
            if (!waitingSince)
                waitingSince = now;
            // A page of its own takes longer to come on a loaded machine (its process starts,
            // its files come): its progress line is given more before the prompt comes back.
            const auto bound =
                platform::WebView::anyBusy() ? visibleBound * kPageWaitFactor : visibleBound;
            return now - *waitingSince >= bound;
        }
        // On a manual clock nothing falls due unless someone moves the clock: only the real
        // clock's transitions can be waited for.
        auto next = loop.nextOneShotDue();
        return !next || loop.hasManualClock() || *next > loop.now() + window;
    };
    // Between checks the loop sleeps until a completion is posted, a task falls due, or (while
    // the client visibly waits) the next look at the screen.
    const auto deadline = std::chrono::steady_clock::now() + realBound(timing.boundSeconds);
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return idle();
        const auto step = waitsVisibly ? std::min(left, std::chrono::milliseconds(100)) : left;
        if (loop.runUntil(idle, step))
            return true;
    }
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
