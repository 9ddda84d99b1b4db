#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace platform {

class CaptureSession;
class Image;

enum class CaptureAuthorization { NotDetermined, Restricted, Denied, Authorized };

// The code types the back camera recognises, by the names the phone gives them.
inline constexpr const char* kMetadataObjectTypeQRCode = "org.iso.QRCode";
inline constexpr const char* kMetadataObjectTypeEAN13Code = "org.gs1.EAN-13";
inline constexpr const char* kMetadataObjectTypeEAN8Code = "org.gs1.EAN-8";
inline constexpr const char* kMetadataObjectTypeCode128Code = "org.iso.Code128";

// One code seen in a frame. A code whose content is not text has no string value.
struct MetadataObject {
    std::string type;
    std::optional<std::string> stringValue;
};

// The codes of the four recognised types in an image, as zxing-cpp reads them (several per
// frame when several show). An empty image gives none.
std::vector<MetadataObject> decodeMachineReadableCodes(const Image& frame);

// The phone's back camera, one per process. Tests and the front end set its authorisation
// and whether the phone has one at all, and show it frames: an image file or image is decoded
// at once, and what it holds reaches every running session later on the main run loop. Tests
// may also inject a decoded code directly. Main thread only.
class CaptureDevice {
public:
    static CaptureAuthorization authorizationStatus();
    static void setAuthorizationStatus(CaptureAuthorization status);
    // The user's answer to the camera prompt shown when a session starts while the status is
    // not determined; granting by default.
    static void setAccessRequestAnswer(bool grant);
    // Whether the phone has a back camera a device input can be made for (yes by default).
    static bool isAvailable();
    static void setAvailable(bool available);

    // Decodes the image file and shows its codes to the running sessions. False, with a line
    // in `error`, when the file cannot be read as an image; a frame without any code is fine
    // (nothing is seen). `found` receives what was decoded.
    static bool showFrameFile(const std::filesystem::path& path, std::string* error = nullptr,
                              std::vector<MetadataObject>* found = nullptr);
    static std::vector<MetadataObject> showFrame(const Image& frame);
    // As if the camera had recognised this code in a frame.
    static void injectCode(const MetadataObject& code);

    // Not determined, granting when asked, available; running sessions keep running.
    static void resetDevice();

private:
    friend class CaptureSession;
    static void deliver(std::vector<MetadataObject> codes);
};

// What a session reads the camera through (AVCaptureDeviceInput). Made only when the phone has
// a camera.
class CaptureDeviceInput {
public:
    // Null, with a line in `error`, when there is no camera.
    static std::shared_ptr<CaptureDeviceInput> make(std::string* error = nullptr);

private:
    CaptureDeviceInput() = default;
};

class CaptureMetadataOutput;

// Hears the codes a metadata output recognised, on the main run loop.
class CaptureMetadataOutputObjectsDelegate {
public:
    virtual ~CaptureMetadataOutputObjectsDelegate() = default;
    virtual void captureOutputDidOutputMetadataObjects(
        CaptureMetadataOutput& output, const std::vector<MetadataObject>& objects) = 0;
};

// Recognises codes in the session's frames (AVCaptureMetadataOutput). Only the types asked for
// are reported; the delegate is not retained.
class CaptureMetadataOutput {
public:
    void setMetadataObjectsDelegate(std::weak_ptr<CaptureMetadataOutputObjectsDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    std::shared_ptr<CaptureMetadataOutputObjectsDelegate> delegate() const {
        return m_delegate.lock();
    }
    const std::vector<std::string>& metadataObjectTypes() const { return m_types; }
    void setMetadataObjectTypes(std::vector<std::string> types) { m_types = std::move(types); }
    // Kept as given, in the output's normalised coordinates; the stand-in's frames are
    // searched whole.
    Rect rectOfInterest() const { return m_rectOfInterest; }
    void setRectOfInterest(const Rect& rect) { m_rectOfInterest = rect; }

private:
    std::weak_ptr<CaptureMetadataOutputObjectsDelegate> m_delegate;
    std::vector<std::string> m_types;
    Rect m_rectOfInterest{{0, 0}, {1, 1}};
};

inline constexpr const char* kCaptureSessionPresetHigh = "AVCaptureSessionPresetHigh";

// Connects the camera's input to outputs (AVCaptureSession). While running, and while the
// camera is authorised, every frame the device shows goes to its metadata outputs. Starting
// while the authorisation is not determined asks the user first.
class CaptureSession : public std::enable_shared_from_this<CaptureSession> {
public:
    CaptureSession();
    ~CaptureSession();
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    const std::string& sessionPreset() const { return m_preset; }
    void setSessionPreset(std::string preset) { m_preset = std::move(preset); }
    // A session takes one input and any number of distinct outputs.
    bool canAddInput(const std::shared_ptr<CaptureDeviceInput>& input) const;
    void addInput(std::shared_ptr<CaptureDeviceInput> input);
    bool canAddOutput(const std::shared_ptr<CaptureMetadataOutput>& output) const;
    void addOutput(std::shared_ptr<CaptureMetadataOutput> output);

    void startRunning();
    void stopRunning();
    bool isRunning() const { return m_running; }

    // Sessions made and not yet destroyed that are running now; for tests and the front end.
    static int runningCount();

private:
    friend class CaptureDevice;
    void deliver(const std::vector<MetadataObject>& codes);

    std::string m_preset;
    std::shared_ptr<CaptureDeviceInput> m_input;
    std::vector<std::shared_ptr<CaptureMetadataOutput>> m_outputs;
    bool m_running{false};
};

}  // namespace platform
