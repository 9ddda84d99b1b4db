#include "platform/devices/AudioPlayer.h"

#include <sndfile.h>

namespace platform {

std::shared_ptr<AudioPlayer> AudioPlayer::make(const std::filesystem::path& url,
                                               DeviceError* error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(url.c_str(), SFM_READ, &info);
    if (!file || info.samplerate < 1) {
        if (error)
            *error = {"audio", 3, "cannot play " + url.string() + ": " + sf_strerror(file)};
        if (file)
            sf_close(file);
        return nullptr;
    }
    sf_close(file);
    return std::make_shared<AudioPlayer>(url, static_cast<long>(info.frames), info.samplerate);
}

AudioPlayer::AudioPlayer(std::filesystem::path url, long frames, int sampleRate)
    : m_url(std::move(url)), m_frames(frames), m_sampleRate(sampleRate) {}

AudioPlayer::~AudioPlayer() {
    m_end.cancel();
}

double AudioPlayer::duration() const {
    return static_cast<double>(m_frames) / m_sampleRate;
}

double AudioPlayer::currentTime() const {
    if (!m_playing)
        return m_position;
    return std::min(duration(), m_position + toSeconds(RunLoop::main().now() - m_runStartedAt));
}

bool AudioPlayer::play() {
    if (m_playing)
        return true;
    if (m_position >= duration())
        m_position = 0;
    m_playing = true;
    m_runStartedAt = RunLoop::main().now();
    // The sound plays once more for each loop asked for.
    const double rest = duration() - m_position + duration() * std::max(0, m_numberOfLoops);
    std::weak_ptr<AudioPlayer> weak = weak_from_this();
    m_end = RunLoop::main().postDelayed(seconds(rest), [weak] {
        if (auto player = weak.lock())
            player->finished();
    });
    return true;
}

void AudioPlayer::pause() {
    if (!m_playing)
        return;
    m_position = currentTime();
    m_playing = false;
    m_end.cancel();
}

void AudioPlayer::stop() {
    m_end.cancel();
    m_playing = false;
    m_position = 0;
}

void AudioPlayer::finished() {
    m_playing = false;
    m_position = duration();
    if (onFinish)
        onFinish(true);
}

}  // namespace platform
