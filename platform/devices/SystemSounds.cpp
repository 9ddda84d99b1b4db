#include "platform/devices/SystemSounds.h"

#include <algorithm>

namespace platform {

namespace {

std::vector<SystemSoundID>& playedSounds() {
    static std::vector<SystemSoundID> sounds;
    return sounds;
}

}  // namespace

void SystemSounds::play(SystemSoundID sound) {
    playedSounds().push_back(sound);
}

const std::vector<SystemSoundID>& SystemSounds::played() {
    return playedSounds();
}

int SystemSounds::vibrationCount() {
    const auto& sounds = playedSounds();
    return static_cast<int>(std::count(sounds.begin(), sounds.end(), kSystemSoundID_Vibrate));
}

void SystemSounds::reset() {
    playedSounds().clear();
}

}  // namespace platform
