#pragma once

#include <cstdint>
#include <vector>

namespace platform {

using SystemSoundID = std::uint32_t;

// The sound id that makes the phone vibrate instead of sounding.
inline constexpr SystemSoundID kSystemSoundID_Vibrate = 4095;

// The phone's short system sounds and its vibration motor. Nothing is heard: each request is
// written down, in order, so tests and the front end can see what the client asked for.
// Main thread only.
class SystemSounds {
public:
    static void play(SystemSoundID sound);
    // Every sound played since the last reset, vibrations included, oldest first.
    static const std::vector<SystemSoundID>& played();
    static int vibrationCount();
    static void reset();
};

}  // namespace platform
