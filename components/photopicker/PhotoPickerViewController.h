#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/devices/PhotoLibrary.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Button;
class NavigationBar;
class View;
}  // namespace platform

namespace platform::components {

class PhotoPickerViewController;

// Which album the picker opens on.
enum class PickerViewShowStatus { Groups = 0, CameraRoll = 1 };

class PhotoPickerViewControllerDelegate {
public:
    virtual ~PhotoPickerViewControllerDelegate() = default;
    // The photos the user picked, in the album's order, once "完成" is tapped.
    virtual void pickerViewControllerDoneAsstes(const std::vector<PhotoAsset>& assets) = 0;
    // The picker closed without handing photos over: "取消", or "完成" with none ticked.
    virtual void pickerViewControllerDidCancel() {}
};

class PhotoGridView;

// Our album picker: shows the photos of the stand-in photo library's camera roll ("相机胶卷")
// as the phone's picker does, a scrolling grid of thumbnails under a bar with the album's
// title and "取消", over a bar with "完成" that stays on screen however long the album is. The
// user ticks any number of photos (or one, where only one is wanted: ticking another moves the
// tick), and the ticked ones go to the delegate when "完成" is tapped; "取消" closes it
// without handing any over. Shown modally from a controller. Main thread only.
class PhotoPickerViewController : public ViewController {
public:
    static constexpr const char* kDoneTitle = "完成";
    static constexpr const char* kCancelTitle = "取消";

    PickerViewShowStatus status() const { return m_status; }
    void setStatus(PickerViewShowStatus status) { m_status = status; }
    void setDelegate(std::weak_ptr<PhotoPickerViewControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // Whether more than one photo may be ticked (by default they may).
    bool allowsMultipleSelection() const { return m_allowsMultipleSelection; }
    void setAllowsMultipleSelection(bool allows) { m_allowsMultipleSelection = allows; }
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

    // The grid the photos show in (once the view is loaded).
    const std::shared_ptr<PhotoGridView>& grid() const { return m_grid; }

protected:
    void loadView() override;
    void viewDidLayoutSubviews() override;

private:
    void updateSelection();

    PickerViewShowStatus m_status{PickerViewShowStatus::Groups};
    bool m_allowsMultipleSelection{true};
    std::weak_ptr<PhotoPickerViewControllerDelegate> m_delegate;
    std::vector<PhotoAsset> m_assets;
    std::set<size_t> m_selected;
    std::shared_ptr<NavigationBar> m_bar;
    std::shared_ptr<PhotoGridView> m_grid;
    std::shared_ptr<View> m_toolbar;
    std::shared_ptr<Button> m_doneButton;
};

}  // namespace platform::components
