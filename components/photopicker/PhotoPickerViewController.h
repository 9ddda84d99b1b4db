#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/devices/PhotoLibrary.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Button;
}

namespace platform::components {

class PhotoPickerViewController;

// Which album the picker opens on.
enum class PickerViewShowStatus { Groups = 0, CameraRoll = 1 };

class PhotoPickerViewControllerDelegate {
public:
    virtual ~PhotoPickerViewControllerDelegate() = default;
    // The photos the user picked, in the album's order, once "完成" is tapped.
    virtual void pickerViewControllerDoneAsstes(const std::vector<PhotoAsset>& assets) = 0;
};

// Our album picker: lists the photos of the stand-in photo library's camera roll ("相机胶卷"),
// lets the user tick any number of them and hands the ticked ones to its delegate when "完成"
// is tapped; "取消" closes it without a word. Shown modally from a controller. Main thread
// only.
class PhotoPickerViewController : public ViewController {
public:
    static constexpr const char* kDoneTitle = "完成";
    static constexpr const char* kCancelTitle = "取消";
    static constexpr const char* kTickMark = "✓ ";

    PickerViewShowStatus status() const { return m_status; }
    void setStatus(PickerViewShowStatus status) { m_status = status; }
    void setDelegate(std::weak_ptr<PhotoPickerViewControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // Presents the picker, animated, from the controller.
    void showPickerVc(ViewController& presenter);

    // The album's photos as the picker read them when it opened.
    const std::vector<PhotoAsset>& assets() const { return m_assets; }
    // Ticks or unticks the photo; false for an index outside the album.
    bool toggleAsset(size_t index);
    bool isAssetSelected(size_t index) const { return m_selected.count(index) > 0; }
    // "完成": closes and hands the ticked photos over (none ticked: nothing is handed over).
    void done();
    void cancel();

protected:
    void loadView() override;

private:
    void updateTitles();

    PickerViewShowStatus m_status{PickerViewShowStatus::Groups};
    std::weak_ptr<PhotoPickerViewControllerDelegate> m_delegate;
    std::vector<PhotoAsset> m_assets;
    std::set<size_t> m_selected;
    std::vector<std::shared_ptr<Button>> m_photoButtons;
};

}  // namespace platform::components
