#include "platform/devices/Microphone.h"

#include <sndfile.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/foundation/Files.h"

namespace platform {

namespace {

struct SndCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndHandle = std::unique_ptr<SNDFILE, SndCloser>;

// Sound files are larger than stored state: ten minutes of CD-quality stereo.
constexpr std::uintmax_t kMaxSoundFileSize = 128 * 1024 * 1024;

// Through the platform's file checks, so that a FIFO or a device named as the source is refused
// at once instead of blocking the open or being read without end. Null (with the reason) when
// the file is refused or is not sound.
SndHandle openSound(const std::filesystem::path& file, SF_INFO& info, std::string* why) {
    const int fd = openRegularFile(file, kMaxSoundFileSize, why);
    if (fd < 0)
        return nullptr;
    // libsndfile closes the descriptor with the handle, or at once when it fails.
    SndHandle sound(sf_open_fd(fd, SFM_READ, &info, SF_TRUE));
    if (!sound && why)
        *why = sf_strerror(nullptr);
    return sound;
}

}  // namespace

Microphone& Microphone::shared() {
    static Microphone microphone;
    return microphone;
}

bool Microphone::setSourceFile(const std::filesystem::path& file, std::string* error) {
    SF_INFO info{};
    std::string why;
    SndHandle sound = openSound(file, info, &why);
    if (!sound || info.channels < 1 || info.samplerate < 1) {
        if (error)
            *error = "not a sound file: " + file.string() + " (" + why + ")";
        return false;
    }
    m_source = file;
    return true;
}

std::vector<float> Microphone::capture(long frames, int sampleRate) const {
    std::vector<float> out(static_cast<size_t>(std::max(0L, frames)), 0.0f);
    if (!m_source || out.empty() || sampleRate < 1)
        return out;
    SF_INFO info{};
    SndHandle sound = openSound(*m_source, info, nullptr);
    if (!sound || info.channels < 1 || info.samplerate < 1)
        return out;  // the file went away: the microphone hears nothing
    // Only as much of the source as the recording needs, mixed down to one channel.
    const double step = static_cast<double>(info.samplerate) / sampleRate;
    const sf_count_t needed = std::min<sf_count_t>(
        info.frames, static_cast<sf_count_t>(static_cast<double>(frames) * step) + 2);
    std::vector<float> interleaved(static_cast<size_t>(needed * info.channels));
    const sf_count_t read = sf_readf_float(sound.get(), interleaved.data(), needed);
    std::vector<float> mono(static_cast<size_t>(std::max<sf_count_t>(read, 0)));
    for (size_t i = 0; i < mono.size(); ++i) {
        float sum = 0;
        for (int c = 0; c < info.channels; ++c)
            sum += interleaved[i * static_cast<size_t>(info.channels) + static_cast<size_t>(c)];
        mono[i] = sum / static_cast<float>(info.channels);
    }
    // Linear interpolation to the recording's rate; past the source's end it is silent.
    for (size_t i = 0; i < out.size(); ++i) {
        const double at = static_cast<double>(i) * step;
        const auto index = static_cast<size_t>(at);
        if (index >= mono.size())
            break;
        const float next = index + 1 < mono.size() ? mono[index + 1] : mono[index];
        const auto fraction = static_cast<float>(at - static_cast<double>(index));
        out[i] = mono[index] + (next - mono[index]) * fraction;
    }
    return out;
}

}  // namespace platform
