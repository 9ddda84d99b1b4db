#pragma once

#include <cstdint>

// What the national offset transform carries from one call to the next: the jitter
// generator's seed and the speed gate (times in milliseconds, positions in fixed point).
// All zero at start. The process-wide object is shared by every conversion and has no lock:
// conversions stay on the main thread.
struct Gcj02EncryptState {
    double seed = 0;
    std::uint32_t lastTime = 0;
    std::uint32_t curTime = 0;
    double lastLon = 0;
    double lastLat = 0;
    double savedLon = 0;
    double savedLat = 0;
    double counter = 0;

    static Gcj02EncryptState& shared();
    // Back to the state at process start, so a test sees the jitter of a fresh process.
    void reset() { *this = Gcj02EncryptState{}; }
};
