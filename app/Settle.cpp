#include "app/Settle.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"

namespace frontend {

bool settle(const SettleTiming& timing) {
    using std::chrono::milliseconds;
    using std::chrono::steady_clock;
    auto toMilliseconds = [](double seconds) {
        return milliseconds(std::llround(std::max(0.0, seconds) * 1000));
    };
    platform::RunLoop& loop = platform::RunLoop::main();
    platform::HttpClient& http = platform::HttpClient::shared();
    auto idle = [&http] { return http.inFlight() == 0; };
    auto deadline = steady_clock::now() + toMilliseconds(timing.boundSeconds);
    loop.runPending();
    for (;;) {
        auto left = std::chrono::duration_cast<milliseconds>(deadline - steady_clock::now());
        if (left <= milliseconds(0) || !loop.runUntil(idle, left)) {
            return idle();
        }
        loop.runFor(std::min(toMilliseconds(timing.quietSeconds),
                             std::max(milliseconds(0), std::chrono::duration_cast<milliseconds>(
                                                           deadline - steady_clock::now()))));
        if (idle()) {
            return true;
        }
    }
}

}  // namespace frontend
