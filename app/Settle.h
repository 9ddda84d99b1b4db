#pragma once

namespace frontend {

struct SettleTiming {
    // At most this long in all, so a server that never answers cannot hang the front end.
    double boundSeconds = 10;
    // Nothing new may start for this long after the last reply: replies often lead to more
    // requests (a sign-in fetches the user's details), and it outlasts the system's animated
    // transitions, so the screen shown is the one the user would see come to rest.
    double quietSeconds = 0.5;
};

// Runs the main run loop on the real clock until no HTTP request is in flight and none
// started during a quiet stretch, or until the bound. Returns whether it came to rest; on
// false, requests are still outstanding.
bool settle(const SettleTiming& timing = {});

}  // namespace frontend
