#pragma once

#include <functional>
#include <memory>

namespace platform {
class SkippingClock;
}

namespace frontend {

struct SettleTiming {
    // At most this long in all, so a server that never answers cannot hang the front end.
    double boundSeconds = 10;
    // A delayed task or one-shot timer due within this much of now is a transition under way
    // (the system's animated pushes, dismissals and scrolls take 0.25-0.35 s): it is waited
    // for, so the screen shown is the one that comes to rest. Later ones (a toast's hiding, an
    // overlay's time-out) and repeating timers that are not due do not hold the screen back.
    double transitionSeconds = 0.5;
    // Once the client visibly waits (its loading overlay or a progress line shows) for this
    // long, it has come to rest as far as the user is concerned: the prompt comes back and the
    // user may go back while a slow host takes its time (three times as long while a web page
    // is still on its way).
    double visibleWaitSeconds = 1;
};

// Runs the main run loop until the client is idle: no HTTP request or background block in
// flight, no task posted,
// no timer or delayed task due now, and no transition under way. A reply that starts another
// request keeps it waiting, as the new request is in flight before the reply's completion
// returns. Stops at the bound; returns whether it came to rest.
// `waitsVisibly`, when given, says whether the client shows that it waits (its overlay, a
// progress line): settling ends once it has said so for SettleTiming::visibleWaitSeconds.
bool settle(const SettleTiming& timing = {}, const std::function<bool()>& waitsVisibly = {});

// The client's timed changes under way come to pass: a toast or report hiding, a next screen
// shown after a moment, the transitions. What falls due within this much of the client's time
// is waited for; an overlay's time-out or a reminder further off is not.
inline constexpr double kTimedChangesSeconds = 5;

// Settles, then lets the timed changes due within kTimedChangesSeconds happen, each followed by
// what it starts (replies included), until none is left within that time. The client's idle
// time passes at once on the skipping clock (the loop's), so a script need not sit it out; with
// none it passes in real time. Stops at the bound; returns whether the client came to rest.
bool settleTimedChanges(const std::shared_ptr<platform::SkippingClock>& clock,
                        double boundSeconds = 10);

}  // namespace frontend
