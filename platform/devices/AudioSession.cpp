#include "platform/devices/AudioSession.h"

namespace platform {

AudioSession& AudioSession::sharedInstance() {
    static AudioSession session;
    return session;
}

void AudioSession::reset() {
    m_category = AudioSessionCategory::SoloAmbient;
    m_active = false;
}

}  // namespace platform
