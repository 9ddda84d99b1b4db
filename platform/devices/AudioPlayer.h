#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "platform/devices/DeviceError.h"
#include "platform/foundation/RunLoop.h"

namespace platform {

// The phone's audio player over one sound file. The stand-in plays nothing aloud: it reads
// the sound's length when it is made and keeps to it, so a later recording into the same file
// does not change what this player plays. Playing
// runs on the run loop's clock: the end is reported (onFinish) once the rest of the sound has
// played. Main thread only.
class AudioPlayer : public std::enable_shared_from_this<AudioPlayer> {
public:
    // Nothing, with the reason, when the file is missing or not sound.
    static std::shared_ptr<AudioPlayer> make(const std::filesystem::path& url,
                                             DeviceError* error = nullptr);
    ~AudioPlayer();

    const std::filesystem::path& url() const { return m_url; }
    double duration() const;
    long frames() const { return m_frames; }
    int sampleRate() const { return m_sampleRate; }
    // Seconds into the sound.
    double currentTime() const;
    int numberOfLoops() const { return m_numberOfLoops; }
    void setNumberOfLoops(int loops) { m_numberOfLoops = loops; }

    bool prepareToPlay() { return true; }
    bool isPlaying() const { return m_playing; }
    // From where it stopped or paused; at the end it starts again from the beginning.
    bool play();
    void pause();
    // Stops and goes back to the beginning.
    void stop();

    // Runs on the main loop when the sound has played to its end (successfully).
    std::function<void(bool successfully)> onFinish;

    AudioPlayer(std::filesystem::path url, long frames, int sampleRate);

private:
    void finished();

    std::filesystem::path m_url;
    long m_frames;
    int m_sampleRate;
    int m_numberOfLoops{0};
    bool m_playing{false};
    double m_position{0};  // seconds played before the current run
    TimePoint m_runStartedAt{};
    TaskHandle m_end;
};

}  // namespace platform
