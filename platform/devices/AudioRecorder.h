#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "platform/devices/DeviceError.h"
#include "platform/foundation/RunLoop.h"

namespace platform {

// The recording format asked of a recorder: the phone's linear PCM settings.
struct AudioSettings {
    std::string formatID = "lpcm";  // only linear PCM is recorded
    double sampleRate = 8000;
    int numberOfChannels = 1;
    int linearPCMBitDepth = 16;     // 8, 16, 24 or 32
    bool linearPCMIsFloat = false;  // float samples need a bit depth of 32
};

// The phone's audio recorder over the stand-in microphone: records for as long as the run
// loop's clock runs between record() and stop(), and then writes what the microphone heard
// to the file as CAF (libsndfile), replacing what was there. Main thread only.
class AudioRecorder {
public:
    // Nothing, with the reason, for settings it cannot record or a file it cannot write.
    static std::shared_ptr<AudioRecorder> make(const std::filesystem::path& url,
                                               const AudioSettings& settings,
                                               DeviceError* error = nullptr);

    const std::filesystem::path& url() const { return m_url; }
    const AudioSettings& settings() const { return m_settings; }
    bool isMeteringEnabled() const { return m_metering; }
    void setMeteringEnabled(bool enabled) { m_metering = enabled; }

    // Starts a new recording; false while one runs already.
    bool record();
    bool isRecording() const { return m_startedAt.has_value(); }
    // Ends the recording and writes the file. Nothing happens when none runs.
    void stop();
    // Why the last file could not be written; empty after a good one.
    const std::string& lastError() const { return m_lastError; }

    AudioRecorder(std::filesystem::path url, AudioSettings settings, int sndFormat);

private:
    std::filesystem::path m_url;
    AudioSettings m_settings;
    int m_sndFormat;
    bool m_metering{false};
    std::optional<TimePoint> m_startedAt;
    std::string m_lastError;
};

}  // namespace platform
