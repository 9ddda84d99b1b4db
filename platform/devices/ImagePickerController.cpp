#include "platform/devices/ImagePickerController.h"

#include <cstdint>
#include <vector>

#include "platform/devices/PhotoLibrary.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace platform {

namespace {

// The camera screen's controls, as the phone lays them out.
constexpr double kControlsHeight = 100;
constexpr double kShutterSide = 66;
constexpr double kShutterRing = 4;
constexpr double kCancelWidth = 70;
constexpr double kCancelHeight = 44;
constexpr double kControlsMargin = 10;
constexpr double kTitleHeight = 44;

struct Camera {
    bool available = false;
    std::optional<std::filesystem::path> file;
};

Camera& camera() {
    static Camera device;
    return device;
}

// What a camera without a named picture shows: a plain grey-blue frame taken holding the phone
// upright, so that it comes with the orientation a portrait photo has.
Image plainCameraPicture() {
    constexpr int kWidth = 64;
    constexpr int kHeight = 48;
    std::vector<std::uint32_t> pixels(kWidth * kHeight, 0xFF6A7F9Au);
    return Image::fromARGB(kWidth, kHeight, std::move(pixels), 1, ImageOrientation::Right);
}

}  // namespace

void ImagePickerControllerDelegate::imagePickerControllerDidCancel(ImagePickerController& picker) {
    picker.dismissViewController(true);
}

bool ImagePickerController::isSourceTypeAvailable(ImagePickerSourceType type) {
    if (type == ImagePickerSourceType::Camera)
        return camera().available;
    return true;
}

bool ImagePickerController::setCamera(bool available,
                                      const std::optional<std::filesystem::path>& file,
                                      std::string* error) {
    if (available && file && Image::fromFile(*file, 1, error).isNull())
        return false;
    camera() = Camera{available, available ? file : std::nullopt};
    return true;
}

void ImagePickerController::resetDevice() {
    camera() = Camera{};
}

bool ImagePickerController::takePicture() {
    ImagePickerMediaInfo info;
    info.mediaType = kMediaTypeImage;
    if (m_sourceType == ImagePickerSourceType::Camera) {
        if (!camera().available)
            return false;
        info.originalImage = camera().file ? Image::fromFile(*camera().file) : plainCameraPicture();
    } else {
        auto assets = PhotoLibrary::shared().assets();
        if (assets.empty())
            return false;
        info.originalImage = assets.front().originImage();
    }
    if (info.originalImage.isNull())
        return false;
    if (auto delegate = m_delegate.lock())
        delegate->imagePickerControllerDidFinishPickingMediaWithInfo(*this, info);
    return true;
}

void ImagePickerController::cancel() {
    if (auto delegate = m_delegate.lock())
        delegate->imagePickerControllerDidCancel(*this);
    else
        dismissViewController(true);
}

Image ImagePickerController::previewImage() const {
    // Decoded no larger than the screen can show it.
    const Size screen = Screen::main().size();
    const double scale = Screen::main().scale();
    const Size shown{screen.width * scale, screen.height * scale};
    if (m_sourceType == ImagePickerSourceType::Camera) {
        if (!camera().available)
            return Image();
        return camera().file ? Image::fromFile(*camera().file, 1, nullptr, shown)
                             : plainCameraPicture();
    }
    auto assets = PhotoLibrary::shared().assets();
    return assets.empty() ? Image() : Image::fromFile(assets.front().file, 1, nullptr, shown);
}

void ImagePickerController::loadView() {
    ViewController::loadView();
    view()->setBackgroundColor(Color::black());
    m_preview = View::make<ImageView>();
    m_preview->setContentMode(ContentMode::ScaleAspectFill);
    m_preview->setClipsToBounds(true);
    m_preview->setHandle("camera-preview");
    view()->addSubview(m_preview);
    if (m_sourceType != ImagePickerSourceType::Camera) {
        m_title = View::make<Label>();
        m_title->setText("照片");
        m_title->setTextColor(Color::white());
        m_title->setTextAlignment(TextAlignment::Center);
        view()->addSubview(m_title);
    }

    m_controls = View::make<View>();
    m_controls->setBackgroundColor(Color::whiteAlpha(0, 0.85f));
    // The phone's shutter: a white disc inside a white ring.
    m_shutter = View::make<Button>(ButtonType::Custom);
    m_shutter->setFrame(Rect{{0, 0}, {kShutterSide, kShutterSide}});
    m_shutter->setCornerRadius(kShutterSide / 2);
    m_shutter->setBorderWidth(kShutterRing);
    m_shutter->setBorderColor(Color::white());
    m_shutter->setAccessibilityLabel(kTakeTitle);
    auto disc = View::make<View>(m_shutter->bounds().insetBy(kShutterRing + 2, kShutterRing + 2));
    disc->setBackgroundColor(Color::white());
    disc->setCornerRadius(disc->bounds().size.width / 2);
    disc->setUserInteractionEnabled(false);
    m_shutter->addSubview(disc);
    // The buttons live inside this picker's view; still, they hold it weakly, as every action.
    std::weak_ptr<ViewController> weak = weak_from_this();
    m_shutter->addTarget(
        [weak](Control&) {
            if (auto self = std::static_pointer_cast<ImagePickerController>(weak.lock()))
                self->takePicture();
        },
        ControlEvent::TouchUpInside);
    m_controls->addSubview(m_shutter);
    m_cancel = View::make<Button>(ButtonType::System);
    m_cancel->setTitle(kCancelTitle);
    m_cancel->setTitleColor(Color::white());
    m_cancel->titleLabel()->setFont(Font::systemFont(18));
    m_cancel->addTarget(
        [weak](Control&) {
            if (auto self = std::static_pointer_cast<ImagePickerController>(weak.lock()))
                self->cancel();
        },
        ControlEvent::TouchUpInside);
    m_controls->addSubview(m_cancel);
    view()->addSubview(m_controls);
    m_preview->setImage(previewImage());
}

void ImagePickerController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    // The camera may have been given another picture since the picker was made.
    m_preview->setImage(previewImage());
}

void ImagePickerController::viewDidLayoutSubviews() {
    ViewController::viewDidLayoutSubviews();
    // The preview fills the view above the controls; the controls keep the bottom edge, so
    // the picker works at any size (the phone's screen, a tablet's popover, turned).
    const Size size = view()->bounds().size;
    const double top = topLayoutGuideLength();
    const double controlsTop = std::max(top, size.height - kControlsHeight);
    const double previewTop = m_title ? top + kTitleHeight : top;
    m_preview->setFrame(
        Rect{{0, previewTop}, {size.width, std::max(0.0, controlsTop - previewTop)}});
    if (m_title)
        m_title->setFrame(Rect{{0, top}, {size.width, kTitleHeight}});
    m_controls->setFrame(Rect{{0, controlsTop}, {size.width, size.height - controlsTop}});
    const double middle = (size.height - controlsTop) / 2;
    m_shutter->setFrame(Rect{{(size.width - kShutterSide) / 2, middle - kShutterSide / 2},
                             {kShutterSide, kShutterSide}});
    m_cancel->setFrame(
        Rect{{kControlsMargin, middle - kCancelHeight / 2}, {kCancelWidth, kCancelHeight}});
}

}  // namespace platform
