#include "platform/devices/ImagePickerController.h"

#include <cstdint>
#include <vector>

#include "platform/devices/PhotoLibrary.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace platform {

namespace {

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

void ImagePickerController::loadView() {
    ViewController::loadView();
    const Rect bounds = view()->bounds();
    auto title = View::make<Label>(Rect{0, 40, bounds.size.width, 30});
    title->setText(m_sourceType == ImagePickerSourceType::Camera ? "相机" : "照片");
    // The picker may show smaller than the screen (a tablet's popover) or turn with it.
    title->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    view()->addSubview(title);
    auto take = View::make<Button>(ButtonType::System);
    take->setFrame(Rect{20, bounds.size.height - 80, 100, 44});
    take->setTitle(kTakeTitle);
    take->setAutoresizingMask(AutoresizingMask::FlexibleTopMargin |
                              AutoresizingMask::FlexibleRightMargin);
    // The buttons live inside this picker's view; still, they hold it weakly, as every action.
    std::weak_ptr<ViewController> weak = weak_from_this();
    take->addTarget(
        [weak](Control&) {
            if (auto self = std::static_pointer_cast<ImagePickerController>(weak.lock()))
                self->takePicture();
        },
        ControlEvent::TouchUpInside);
    view()->addSubview(take);
    auto cancelButton = View::make<Button>(ButtonType::System);
    cancelButton->setFrame(Rect{bounds.size.width - 120, bounds.size.height - 80, 100, 44});
    cancelButton->setTitle(kCancelTitle);
    cancelButton->setAutoresizingMask(AutoresizingMask::FlexibleTopMargin |
                                      AutoresizingMask::FlexibleLeftMargin);
    cancelButton->addTarget(
        [weak](Control&) {
            if (auto self = std::static_pointer_cast<ImagePickerController>(weak.lock()))
                self->cancel();
        },
        ControlEvent::TouchUpInside);
    view()->addSubview(cancelButton);
}

}  // namespace platform
