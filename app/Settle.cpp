#include "app/Settle.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"

namespace frontend {

bool settle(const SettleTiming& timing) {
    platform::RunLoop& loop = platform::RunLoop::main();
    platform::HttpClient& http = platform::HttpClient::shared();
    const platform::Duration window = platform::seconds(std::max(0.0, timing.transitionSeconds));
    auto idle = [&] {
        // Background work first: a block posts its result before it counts as finished.
        if (platform::dispatch::backgroundWorkInFlight() > 0 || http.inFlight() > 0 ||
            loop.hasWorkDueNow())
            return false;
        // On a manual clock nothing falls due unless someone moves the clock: only the real
        // clock's transitions can be waited for.
        auto next = loop.nextOneShotDue();
        return !next || loop.hasManualClock() || *next > loop.now() + window;
    };
    // Between checks the loop sleeps until a completion is posted or a task falls due.
    auto bound = std::chrono::milliseconds(std::llround(std::max(0.0, timing.boundSeconds) * 1000));
    return loop.runUntil(idle, bound);
}

}  // namespace frontend
