#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/devices/AudioPlayer.h"
#include "platform/devices/AudioRecorder.h"
#include "platform/devices/Devices.h"
#include "platform/devices/ImagePickerController.h"
#include "platform/devices/Microphone.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "tests/support/TempHome.h"

using namespace platform;

namespace {

struct SoundFile {
    int format = 0;
    int sampleRate = 0;
    int channels = 0;
    std::vector<float> samples;
};

SoundFile readSound(const std::filesystem::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr) << path;
    SoundFile sound;
    if (!file)
        return sound;
    sound.format = info.format;
    sound.sampleRate = info.samplerate;
    sound.channels = info.channels;
    sound.samples.resize(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(file, sound.samples.data(), info.frames);
    sf_close(file);
    return sound;
}

// A 440 Hz tone, stereo at 44.1 kHz, as a phone user's voice would come from any file.
void writeTone(const std::filesystem::path& path, double seconds) {
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    const auto frames = static_cast<size_t>(seconds * info.samplerate);
    std::vector<float> samples(frames * 2);
    for (size_t i = 0; i < frames; ++i)
        samples[2 * i] = samples[2 * i + 1] =
            0.5f * static_cast<float>(std::sin(2 * M_PI * 440 * static_cast<double>(i) / 44100));
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
}

AudioSettings voiceSettings() {
    AudioSettings settings;  // linear PCM, 8 kHz, mono, 16-bit integers
    return settings;
}

class MediaDevicesTest : public ::testing::Test {
protected:
    MediaDevicesTest() { resetDevices(); }
    ~MediaDevicesTest() override { resetDevices(); }

    std::filesystem::path file(const char* name) const { return home.path() / name; }

    platform::testing::UiTestScope scope;
    testsupport::TempHome home;
};

TEST_F(MediaDevicesTest, RecorderWritesWhatTheMicrophoneHeardAsCafForTheClockTime) {
    writeTone(file("voice.wav"), 1.0);
    ASSERT_TRUE(Microphone::shared().setSourceFile(file("voice.wav")));
    auto recorder = AudioRecorder::make(file("myRecord.caf"), voiceSettings());
    ASSERT_TRUE(recorder);

    EXPECT_TRUE(recorder->record());
    EXPECT_FALSE(recorder->record()) << "a second start while recording is refused";
    scope.advance(1.5);
    recorder->stop();
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_EQ(recorder->lastError(), "");

    SoundFile sound = readSound(file("myRecord.caf"));
    EXPECT_EQ(sound.format, SF_FORMAT_CAF | SF_FORMAT_PCM_16);
    EXPECT_EQ(sound.sampleRate, 8000);
    EXPECT_EQ(sound.channels, 1);
    ASSERT_EQ(sound.samples.size(), 12000u);
    float loudest = 0;
    for (size_t i = 0; i < 8000; ++i) loudest = std::max(loudest, std::fabs(sound.samples[i]));
    EXPECT_NEAR(loudest, 0.5f, 0.02f) << "the tone is heard";
    for (size_t i = 8100; i < sound.samples.size(); ++i)
        ASSERT_EQ(sound.samples[i], 0.0f) << "after the one-second file, silence";
}

TEST_F(MediaDevicesTest, SilentMicrophoneRecordsSilenceAndEachRecordingReplacesTheFile) {
    auto recorder = AudioRecorder::make(file("myRecord.caf"), voiceSettings());
    ASSERT_TRUE(recorder);
    recorder->record();
    scope.advance(2);
    recorder->stop();
    recorder->record();
    scope.advance(0.25);
    recorder->stop();
    SoundFile sound = readSound(file("myRecord.caf"));
    ASSERT_EQ(sound.samples.size(), 2000u);
    for (float sample : sound.samples) ASSERT_EQ(sample, 0.0f);
    EXPECT_FALSE(std::filesystem::exists(file("myRecord.caf.part")));
}

TEST_F(MediaDevicesTest, RecorderRefusesSettingsItCannotRecordAndMissingFolders) {
    DeviceError error;
    AudioSettings stereo = voiceSettings();
    stereo.numberOfChannels = 2;
    EXPECT_FALSE(AudioRecorder::make(file("a.caf"), stereo, &error));
    EXPECT_EQ(error.domain, "audio");
    AudioSettings eightBitFloat = voiceSettings();
    eightBitFloat.linearPCMBitDepth = 8;
    eightBitFloat.linearPCMIsFloat = true;
    EXPECT_FALSE(AudioRecorder::make(file("a.caf"), eightBitFloat));
    EXPECT_FALSE(AudioRecorder::make(file("no/such/folder/a.caf"), voiceSettings()));
    EXPECT_FALSE(Microphone::shared().setSourceFile(file("missing.wav")));
}

TEST_F(MediaDevicesTest, PlayerPlaysToTheEndOnTheClockThroughPauseAndStop) {
    auto recorder = AudioRecorder::make(file("myRecord.caf"), voiceSettings());
    recorder->record();
    scope.advance(2);
    recorder->stop();
    auto player = AudioPlayer::make(file("myRecord.caf"));
    ASSERT_TRUE(player);
    EXPECT_DOUBLE_EQ(player->duration(), 2.0);
    int finished = 0;
    player->onFinish = [&](bool ok) { finished += ok ? 1 : 100; };

    player->play();
    scope.advance(0.5);
    player->pause();
    EXPECT_FALSE(player->isPlaying());
    EXPECT_NEAR(player->currentTime(), 0.5, 1e-6);
    scope.advance(5);
    EXPECT_EQ(finished, 0) << "a paused player does not end";
    player->play();
    scope.advance(1.4);
    EXPECT_EQ(finished, 0);
    scope.advance(0.2);
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(player->isPlaying());

    player->play();
    player->stop();
    scope.advance(3);
    EXPECT_EQ(finished, 1) << "a stopped player does not end";
    EXPECT_EQ(player->currentTime(), 0);
}

TEST_F(MediaDevicesTest, PlayerKeepsTheRecordingItWasMadeFrom) {
    auto recorder = AudioRecorder::make(file("myRecord.caf"), voiceSettings());
    recorder->record();
    scope.advance(1);
    recorder->stop();
    auto player = AudioPlayer::make(file("myRecord.caf"));
    recorder->record();
    scope.advance(3);
    recorder->stop();
    EXPECT_DOUBLE_EQ(player->duration(), 1.0);
    EXPECT_DOUBLE_EQ(AudioPlayer::make(file("myRecord.caf"))->duration(), 3.0);

    DeviceError error;
    EXPECT_FALSE(AudioPlayer::make(file("none.caf"), &error));
    EXPECT_FALSE(error.description.empty());
}

TEST_F(MediaDevicesTest, PhotoLibraryServesThePicturesOfTheChosenFolderInNameOrder) {
    EXPECT_TRUE(PhotoLibrary::shared().assets().empty());
    const auto folder = home.path() / "photos";
    std::filesystem::create_directories(folder);
    for (const char* name : {"b.JPG", "a.png", "notes.txt", "c.jpeg"})
        std::ofstream(folder / name) << "x";
    std::string error;
    EXPECT_FALSE(PhotoLibrary::shared().setFolder(folder / "none", &error));
    EXPECT_NE(error.find("not a folder"), std::string::npos);
    ASSERT_TRUE(PhotoLibrary::shared().setFolder(folder));
    std::vector<std::string> names;
    for (const auto& asset : PhotoLibrary::shared().assets()) names.push_back(asset.name());
    EXPECT_EQ(names, (std::vector<std::string>{"a.png", "b.JPG", "c.jpeg"}));
}

TEST_F(MediaDevicesTest, CameraIsUnavailableUnlessConfigured) {
    using Source = ImagePickerSourceType;
    EXPECT_FALSE(ImagePickerController::isSourceTypeAvailable(Source::Camera));
    EXPECT_TRUE(ImagePickerController::isSourceTypeAvailable(Source::PhotoLibrary));
    std::ofstream(file("broken.jpg")) << "not a picture";
    std::string error;
    EXPECT_FALSE(ImagePickerController::setCamera(true, file("broken.jpg"), &error));
    EXPECT_FALSE(ImagePickerController::isSourceTypeAvailable(Source::Camera));
    ASSERT_TRUE(ImagePickerController::setCamera(true));
    EXPECT_TRUE(ImagePickerController::isSourceTypeAvailable(Source::Camera));
    auto picker = std::make_shared<ImagePickerController>();
    picker->setSourceType(Source::Camera);
    EXPECT_TRUE(picker->takePicture());
    ImagePickerController::setCamera(false);
    EXPECT_FALSE(picker->takePicture());
}

}  // namespace
