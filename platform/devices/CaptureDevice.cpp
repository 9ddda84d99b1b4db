#include "platform/devices/CaptureDevice.h"

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <cstdint>
#include <set>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"

namespace platform {

namespace {

struct CameraState {
    CaptureAuthorization status{CaptureAuthorization::NotDetermined};
    bool grantWhenAsked{true};
    bool available{true};
    // Every live session, so a frame reaches those running when it is delivered.
    std::set<CaptureSession*> sessions;
};

CameraState& camera() {
    static CameraState state;
    return state;
}

const char* typeName(ZXing::BarcodeFormat format) {
    switch (format) {
        case ZXing::BarcodeFormat::QRCode:
            return kMetadataObjectTypeQRCode;
        case ZXing::BarcodeFormat::EAN13:
            return kMetadataObjectTypeEAN13Code;
        case ZXing::BarcodeFormat::EAN8:
            return kMetadataObjectTypeEAN8Code;
        case ZXing::BarcodeFormat::Code128:
            return kMetadataObjectTypeCode128Code;
        default:
            return nullptr;
    }
}

std::uint8_t luminance(std::uint32_t argb) {
    // Transparent areas read as white paper behind the code.
    const std::uint32_t alpha = argb >> 24;
    if (alpha == 0xFF)
        return static_cast<std::uint8_t>(
            (((argb >> 16) & 0xFF) * 77 + ((argb >> 8) & 0xFF) * 150 + (argb & 0xFF) * 29) >> 8);
    auto channel = [&](int shift) {
        const std::uint32_t value = (argb >> shift) & 0xFF;
        return (value * alpha + 255 * (255 - alpha)) / 255;
    };
    return static_cast<std::uint8_t>((channel(16) * 77 + channel(8) * 150 + channel(0) * 29) >> 8);
}

}  // namespace

std::vector<MetadataObject> decodeMachineReadableCodes(const Image& frame) {
    if (frame.isNull())
        return {};
    const int width = frame.pixelWidth();
    const int height = frame.pixelHeight();
    std::vector<std::uint8_t> grey(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            grey[static_cast<size_t>(y) * width + x] = luminance(frame.pixelAt(x, y));
    }
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::EAN13 |
                     ZXing::BarcodeFormat::EAN8 | ZXing::BarcodeFormat::Code128);
    const ZXing::ImageView view(grey.data(), width, height, ZXing::ImageFormat::Lum);
    std::vector<MetadataObject> codes;
    for (const auto& result : ZXing::ReadBarcodes(view, hints)) {
        const char* type = result.isValid() ? typeName(result.format()) : nullptr;
        if (!type)
            continue;
        MetadataObject code{type, std::nullopt};
        if (result.contentType() != ZXing::ContentType::Binary)
            code.stringValue = result.text();
        codes.push_back(std::move(code));
    }
    return codes;
}

CaptureAuthorization CaptureDevice::authorizationStatus() {
    return camera().status;
}

void CaptureDevice::setAuthorizationStatus(CaptureAuthorization status) {
    camera().status = status;
}

void CaptureDevice::setAccessRequestAnswer(bool grant) {
    camera().grantWhenAsked = grant;
}

bool CaptureDevice::isAvailable() {
    return camera().available;
}

void CaptureDevice::setAvailable(bool available) {
    camera().available = available;
}

bool CaptureDevice::showFrameFile(const std::filesystem::path& path, std::string* error,
                                  std::vector<MetadataObject>* found) {
    const Image frame = Image::fromFile(path, 1, error);
    if (frame.isNull())
        return false;
    auto codes = showFrame(frame);
    if (found)
        *found = std::move(codes);
    return true;
}

std::vector<MetadataObject> CaptureDevice::showFrame(const Image& frame) {
    auto codes = decodeMachineReadableCodes(frame);
    if (!codes.empty())
        deliver(codes);
    return codes;
}

void CaptureDevice::injectCode(const MetadataObject& code) {
    deliver({code});
}

void CaptureDevice::resetDevice() {
    auto& state = camera();
    state.status = CaptureAuthorization::NotDetermined;
    state.grantWhenAsked = true;
    state.available = true;
}

void CaptureDevice::deliver(std::vector<MetadataObject> codes) {
    // Later on the main loop, as the phone's metadata delegate is called on the main queue; a
    // session that stopped or went meanwhile sees nothing.
    RunLoop::main().post([codes = std::move(codes)] {
        if (camera().status != CaptureAuthorization::Authorized)
            return;
        std::vector<std::weak_ptr<CaptureSession>> running;
        for (CaptureSession* session : camera().sessions) {
            if (session->isRunning())
                running.push_back(session->weak_from_this());
        }
        for (const auto& weak : running) {
            if (auto session = weak.lock(); session && session->isRunning())
                session->deliver(codes);
        }
    });
}

std::shared_ptr<CaptureDeviceInput> CaptureDeviceInput::make(std::string* error) {
    if (!CaptureDevice::isAvailable()) {
        if (error)
            *error = "this phone has no camera";
        return nullptr;
    }
    return std::shared_ptr<CaptureDeviceInput>(new CaptureDeviceInput());
}

CaptureSession::CaptureSession() {
    camera().sessions.insert(this);
}

CaptureSession::~CaptureSession() {
    camera().sessions.erase(this);
}

bool CaptureSession::canAddInput(const std::shared_ptr<CaptureDeviceInput>& input) const {
    return input && !m_input;
}

void CaptureSession::addInput(std::shared_ptr<CaptureDeviceInput> input) {
    if (canAddInput(input))
        m_input = std::move(input);
}

bool CaptureSession::canAddOutput(const std::shared_ptr<CaptureMetadataOutput>& output) const {
    return output && std::find(m_outputs.begin(), m_outputs.end(), output) == m_outputs.end();
}

void CaptureSession::addOutput(std::shared_ptr<CaptureMetadataOutput> output) {
    if (canAddOutput(output))
        m_outputs.push_back(std::move(output));
}

void CaptureSession::startRunning() {
    auto& state = camera();
    if (state.status == CaptureAuthorization::NotDetermined)
        state.status =
            state.grantWhenAsked ? CaptureAuthorization::Authorized : CaptureAuthorization::Denied;
    m_running = true;
}

void CaptureSession::stopRunning() {
    m_running = false;
}

int CaptureSession::runningCount() {
    const auto& sessions = camera().sessions;
    return static_cast<int>(std::count_if(sessions.begin(), sessions.end(),
                                          [](const CaptureSession* s) { return s->isRunning(); }));
}

void CaptureSession::deliver(const std::vector<MetadataObject>& codes) {
    if (!m_input)
        return;
    // Copied: a delegate may stop the session or change its outputs while hearing of a code.
    const auto outputs = m_outputs;
    for (const auto& output : outputs) {
        std::vector<MetadataObject> wanted;
        for (const auto& code : codes) {
            const auto& types = output->metadataObjectTypes();
            if (std::find(types.begin(), types.end(), code.type) != types.end())
                wanted.push_back(code);
        }
        auto delegate = output->delegate();
        if (!wanted.empty() && delegate && m_running)
            delegate->captureOutputDidOutputMetadataObjects(*output, wanted);
    }
}

}  // namespace platform
