#pragma once

namespace frontend {

struct SettleTiming {
    // At most this long in all, so a server that never answers cannot hang the front end.
    double boundSeconds = 10;
    // A delayed task or one-shot timer due within this much of now is a transition under way
    // (the system's animated pushes, dismissals and scrolls take 0.25-0.35 s): it is waited
    // for, so the screen shown is the one that comes to rest. Later ones (a toast's hiding, an
    // overlay's time-out) and repeating timers that are not due do not hold the screen back.
    double transitionSeconds = 0.5;
};

// Runs the main run loop until the client is idle: no HTTP request or background block in
// flight, no task posted,
// no timer or delayed task due now, and no transition under way. A reply that starts another
// request keeps it waiting, as the new request is in flight before the reply's completion
// returns. Stops at the bound; returns whether it came to rest.
bool settle(const SettleTiming& timing = {});

}  // namespace frontend
