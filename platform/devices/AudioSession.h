#pragma once

namespace platform {

enum class AudioSessionCategory { SoloAmbient, Playback, PlayAndRecord };

// The phone's shared audio session: which category the process's sound uses and whether it
// is active. The stand-in only keeps the state, so that tests and the front end can see what
// the client asked for. Main thread only.
class AudioSession {
public:
    static AudioSession& sharedInstance();

    AudioSessionCategory category() const { return m_category; }
    void setCategory(AudioSessionCategory category) { m_category = category; }
    bool isActive() const { return m_active; }
    void setActive(bool active) { m_active = active; }

    // Back to the first state: solo ambient, inactive.
    void reset();

private:
    AudioSessionCategory m_category{AudioSessionCategory::SoloAmbient};
    bool m_active{false};
};

}  // namespace platform
