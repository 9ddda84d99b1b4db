#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace platform {

// What the stand-in phone's microphone hears: a sound file that tests or the front end name
// (any format libsndfile reads), played once from the start of each recording and followed by
// silence, or silence throughout. Main thread only.
class Microphone {
public:
    static Microphone& shared();

    // Fails, keeping the previous source, when the file cannot be read as sound; `error` says
    // why.
    bool setSourceFile(const std::filesystem::path& file, std::string* error = nullptr);
    void setSilence() { m_source.reset(); }
    const std::optional<std::filesystem::path>& sourceFile() const { return m_source; }

    // The first `frames` samples heard, mono at the given rate, as floats in -1..1.
    std::vector<float> capture(long frames, int sampleRate) const;

    void reset() { m_source.reset(); }

private:
    std::optional<std::filesystem::path> m_source;
};

}  // namespace platform
