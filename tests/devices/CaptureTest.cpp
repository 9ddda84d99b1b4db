#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/devices/CaptureDevice.h"
#include "platform/devices/SystemSounds.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UiTestScope.h"

using namespace platform;

namespace {

constexpr const char* kDemoQRText = "http://portal.lanxi-campus.example/checkin?room=A204";

std::filesystem::path sample(const std::string& name) {
    return Bundle::main().resourcePath() / "sample" / name;
}

class RecordingReader : public CaptureMetadataOutputObjectsDelegate {
public:
    void captureOutputDidOutputMetadataObjects(
        CaptureMetadataOutput&, const std::vector<MetadataObject>& objects) override {
        seen.push_back(objects);
    }
    std::vector<std::vector<MetadataObject>> seen;
};

class CaptureTest : public ::testing::Test {
protected:
    // A running session reading QR codes only, as a scanner would set it up.
    std::shared_ptr<CaptureSession> runningSession() {
        auto session = std::make_shared<CaptureSession>();
        session->addInput(CaptureDeviceInput::make());
        output->setMetadataObjectsDelegate(reader);
        output->setMetadataObjectTypes({kMetadataObjectTypeQRCode});
        session->addOutput(output);
        session->startRunning();
        return session;
    }

    platform::testing::UiTestScope scope;
    std::shared_ptr<RecordingReader> reader = std::make_shared<RecordingReader>();
    std::shared_ptr<CaptureMetadataOutput> output = std::make_shared<CaptureMetadataOutput>();
};

// --- Decoding frames -----------------------------------------------------------------------

TEST_F(CaptureTest, TheBundledQRImageDecodesToItsAddress) {
    auto codes = decodeMachineReadableCodes(Image::fromFile(sample("qr-demo.png")));
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0].type, kMetadataObjectTypeQRCode);
    EXPECT_EQ(codes[0].stringValue, kDemoQRText);
}

TEST_F(CaptureTest, TheBundledBarCodeDecodesAsEAN13) {
    auto codes = decodeMachineReadableCodes(Image::fromFile(sample("ean13-demo.png")));
    ASSERT_EQ(codes.size(), 1u);
    EXPECT_EQ(codes[0].type, kMetadataObjectTypeEAN13Code);
    EXPECT_EQ(codes[0].stringValue, "9787115428028");
}

TEST_F(CaptureTest, AFrameWithoutACodeOrAnEmptyImageGivesNothing) {
    std::vector<std::uint32_t> grey(64 * 64, 0xFF808080u);
    EXPECT_TRUE(decodeMachineReadableCodes(Image::fromARGB(64, 64, grey)).empty());
    EXPECT_TRUE(decodeMachineReadableCodes(Image()).empty());
}

TEST_F(CaptureTest, AFileThatIsNotAnImageIsRefusedWithAReason) {
    std::string error;
    EXPECT_FALSE(CaptureDevice::showFrameFile(sample("news.json"), &error));
    EXPECT_NE(error.find("news.json"), std::string::npos);
    EXPECT_FALSE(CaptureDevice::showFrameFile(sample("no-such-file.png"), &error));
}

// --- Sessions ------------------------------------------------------------------------------

TEST_F(CaptureTest, ARunningSessionHearsAFrameOnTheRunLoopNotDuringTheCall) {
    CaptureDevice::setAuthorizationStatus(CaptureAuthorization::Authorized);
    auto session = runningSession();
    std::vector<MetadataObject> found;
    ASSERT_TRUE(CaptureDevice::showFrameFile(sample("qr-demo.png"), nullptr, &found));
    EXPECT_EQ(found.size(), 1u);
    EXPECT_TRUE(reader->seen.empty());
    RunLoop::main().runPending();
    ASSERT_EQ(reader->seen.size(), 1u);
    EXPECT_EQ(reader->seen[0][0].stringValue, kDemoQRText);
}

TEST_F(CaptureTest, OnlyTheTypesAskedForAreReported) {
    CaptureDevice::setAuthorizationStatus(CaptureAuthorization::Authorized);
    auto session = runningSession();
    CaptureDevice::showFrameFile(sample("ean13-demo.png"));
    CaptureDevice::injectCode({kMetadataObjectTypeCode128Code, "C-128"});
    RunLoop::main().runPending();
    EXPECT_TRUE(reader->seen.empty());
}

TEST_F(CaptureTest, AStoppedSessionOrADeniedCameraSeesNothing) {
    CaptureDevice::setAuthorizationStatus(CaptureAuthorization::Authorized);
    auto session = runningSession();
    CaptureDevice::injectCode({kMetadataObjectTypeQRCode, "stopped before delivery"});
    session->stopRunning();
    RunLoop::main().runPending();
    EXPECT_TRUE(reader->seen.empty());

    session->startRunning();
    CaptureDevice::setAuthorizationStatus(CaptureAuthorization::Denied);
    CaptureDevice::injectCode({kMetadataObjectTypeQRCode, "denied"});
    RunLoop::main().runPending();
    EXPECT_TRUE(reader->seen.empty());
}

TEST_F(CaptureTest, StartingWhileNotDeterminedTakesTheUsersAnswer) {
    CaptureDevice::setAccessRequestAnswer(false);
    auto session = runningSession();
    EXPECT_EQ(CaptureDevice::authorizationStatus(), CaptureAuthorization::Denied);

    CaptureDevice::resetDevice();
    auto granted = runningSession();
    EXPECT_EQ(CaptureDevice::authorizationStatus(), CaptureAuthorization::Authorized);
}

TEST_F(CaptureTest, APhoneWithoutACameraGivesNoInput) {
    CaptureDevice::setAvailable(false);
    std::string error;
    EXPECT_EQ(CaptureDeviceInput::make(&error), nullptr);
    EXPECT_FALSE(error.empty());
}

TEST_F(CaptureTest, SystemSoundsAndVibrationsAreWrittenDownUntilReset) {
    SystemSounds::play(kSystemSoundID_Vibrate);
    SystemSounds::play(1100);
    EXPECT_EQ(SystemSounds::played(), (std::vector<SystemSoundID>{4095, 1100}));
    EXPECT_EQ(SystemSounds::vibrationCount(), 1);
    SystemSounds::reset();
    EXPECT_TRUE(SystemSounds::played().empty());
}

}  // namespace
