#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Image.h"
#include "platform/ui/ViewController.h"

namespace platform {

class ImagePickerController;

// Declared with its underlying type so that headers can name it without this one.
enum class ImagePickerSourceType : int { PhotoLibrary, Camera, SavedPhotosAlbum };

// What a picker hands back: the media type ("public.image") and the full picture as taken.
struct ImagePickerMediaInfo {
    std::string mediaType;
    Image originalImage;
};

class ImagePickerControllerDelegate {
public:
    virtual ~ImagePickerControllerDelegate() = default;
    virtual void imagePickerControllerDidFinishPickingMediaWithInfo(
        ImagePickerController& picker, const ImagePickerMediaInfo& info) = 0;
    // Not implementing it means what it means on the phone: the picker closes itself.
    virtual void imagePickerControllerDidCancel(ImagePickerController& picker);
};

// The phone's image picker. The stand-in phone has no camera unless tests or the front end
// give it one (a picture file, or a plain test picture); the library sources pick from the
// stand-in photo library. Presented, it shows what the camera sees (or the photo the library
// would give) over the whole view, with the round shutter ("拍照") and "取消" below it, as the
// phone's camera screen does, and waits for its user (tests, the front end) to take the
// picture or cancel. Main thread only.
class ImageView;
class Button;
class Label;

class ImagePickerController : public ViewController {
public:
    static constexpr const char* kMediaTypeImage = "public.image";
    static constexpr const char* kTakeTitle = "拍照";
    static constexpr const char* kCancelTitle = "取消";

    // --- The device (process-wide) ------------------------------------------------------
    static bool isSourceTypeAvailable(ImagePickerSourceType type);
    // The camera shows this picture file, or a plain picture when none is named; nothing: no
    // camera. A file that is not a picture is refused with a reason.
    static bool setCamera(bool available, const std::optional<std::filesystem::path>& file = {},
                          std::string* error = nullptr);
    // No camera.
    static void resetDevice();

    // --- One picker ---------------------------------------------------------------------
    ImagePickerSourceType sourceType() const { return m_sourceType; }
    void setSourceType(ImagePickerSourceType type) { m_sourceType = type; }
    void setDelegate(std::weak_ptr<ImagePickerControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // The user takes the picture (or picks the library's first photo); false when the source
    // has nothing to give.
    bool takePicture();
    void cancel();

    // What the picker's preview shows now (empty when the source has nothing to give).
    Image previewImage() const;

protected:
    void loadView() override;
    void viewWillAppear(bool animated) override;
    void viewDidLayoutSubviews() override;

private:
    ImagePickerSourceType m_sourceType{ImagePickerSourceType::PhotoLibrary};
    std::weak_ptr<ImagePickerControllerDelegate> m_delegate;
    std::shared_ptr<ImageView> m_preview;
    std::shared_ptr<View> m_controls;
    std::shared_ptr<Button> m_shutter;
    std::shared_ptr<Button> m_cancel;
    std::shared_ptr<Label> m_title;
};

}  // namespace platform
