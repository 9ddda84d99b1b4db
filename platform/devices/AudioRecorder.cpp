#include "platform/devices/AudioRecorder.h"

#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <system_error>

#include "platform/devices/Microphone.h"

namespace platform {

namespace {

constexpr const char* kDomain = "audio";

// libsndfile's sample format for the phone's linear PCM settings; 0 when it has none.
int sampleFormatFor(const AudioSettings& settings) {
    if (settings.formatID != "lpcm")
        return 0;
    if (settings.linearPCMIsFloat)
        return settings.linearPCMBitDepth == 32 ? SF_FORMAT_FLOAT : 0;
    switch (settings.linearPCMBitDepth) {
        case 8:
            return SF_FORMAT_PCM_S8;
        case 16:
            return SF_FORMAT_PCM_16;
        case 24:
            return SF_FORMAT_PCM_24;
        case 32:
            return SF_FORMAT_PCM_32;
        default:
            return 0;
    }
}

}  // namespace

std::shared_ptr<AudioRecorder> AudioRecorder::make(const std::filesystem::path& url,
                                                   const AudioSettings& settings,
                                                   DeviceError* error) {
    const int format = sampleFormatFor(settings);
    const bool rateOk = std::isfinite(settings.sampleRate) && settings.sampleRate >= 1 &&
                        settings.sampleRate <= 384000;
    if (format == 0 || !rateOk || settings.numberOfChannels != 1) {
        if (error)
            *error = {kDomain, 1, "unsupported recording settings (linear PCM, one channel)"};
        return nullptr;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(url.parent_path(), ec)) {
        if (error)
            *error = {kDomain, 2, "no directory for the recording: " + url.string()};
        return nullptr;
    }
    return std::make_shared<AudioRecorder>(url, settings, SF_FORMAT_CAF | format);
}

AudioRecorder::AudioRecorder(std::filesystem::path url, AudioSettings settings, int sndFormat)
    : m_url(std::move(url)), m_settings(std::move(settings)), m_sndFormat(sndFormat) {}

bool AudioRecorder::record() {
    if (isRecording())
        return false;
    m_startedAt = RunLoop::main().now();
    return true;
}

void AudioRecorder::stop() {
    if (!isRecording())
        return;
    const double elapsed = toSeconds(RunLoop::main().now() - *m_startedAt);
    m_startedAt.reset();
    const int rate = static_cast<int>(std::lround(m_settings.sampleRate));
    const auto frames = static_cast<long>(std::max(0.0, elapsed) * rate);
    const std::vector<float> heard = Microphone::shared().capture(frames, rate);

    // Written beside the file and renamed over it, so a failed write never leaves half a
    // recording where the last good one was.
    const std::filesystem::path temporary = m_url.string() + ".part";
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = m_sndFormat;
    SNDFILE* file = sf_open(temporary.c_str(), SFM_WRITE, &info);
    if (!file) {
        m_lastError = std::string("cannot write the recording: ") + sf_strerror(nullptr);
        return;
    }
    const sf_count_t written =
        heard.empty() ? 0
                      : sf_writef_float(file, heard.data(), static_cast<sf_count_t>(heard.size()));
    const int closed = sf_close(file);
    std::error_code ec;
    if (written != static_cast<sf_count_t>(heard.size()) || closed != 0) {
        m_lastError = "cannot write the recording: " + temporary.string();
        std::filesystem::remove(temporary, ec);
        return;
    }
    std::filesystem::rename(temporary, m_url, ec);
    m_lastError = ec ? "cannot write the recording: " + ec.message() : "";
}

}  // namespace platform
