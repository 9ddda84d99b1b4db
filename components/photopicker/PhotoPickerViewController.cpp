#include "components/photopicker/PhotoPickerViewController.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

namespace platform::components {

namespace {

constexpr double kRowHeight = 44;
constexpr double kTop = 64;

template <typename Call>
Control::Action weakAction(const std::shared_ptr<ViewController>& controller, Call call) {
    return [weak = std::weak_ptr<ViewController>(controller), call](Control&) {
        if (auto self = std::static_pointer_cast<PhotoPickerViewController>(weak.lock()))
            call(*self);
    };
}

}  // namespace

void PhotoPickerViewController::showPickerVc(ViewController& presenter) {
    presenter.presentViewController(std::static_pointer_cast<ViewController>(shared_from_this()),
                                    true);
}

bool PhotoPickerViewController::toggleAsset(size_t index) {
    if (index >= m_assets.size())
        return false;
    if (!m_selected.erase(index))
        m_selected.insert(index);
    updateTitles();
    return true;
}

void PhotoPickerViewController::done() {
    std::vector<PhotoAsset> picked;
    for (size_t index : m_selected) picked.push_back(m_assets[index]);
    auto delegate = m_delegate.lock();
    dismissViewController(true);
    if (delegate && !picked.empty())
        delegate->pickerViewControllerDoneAsstes(picked);
}

void PhotoPickerViewController::cancel() {
    dismissViewController(true);
}

void PhotoPickerViewController::loadView() {
    ViewController::loadView();
    // Both statuses end on the camera roll: the stand-in library holds no other album.
    m_assets = PhotoLibrary::shared().assets();
    const double width = view()->bounds().size.width;
    auto title = View::make<Label>(Rect{0, 20, width, kRowHeight});
    title->setText(PhotoLibrary::kCameraRollName);
    view()->addSubview(title);
    auto self = shared_from_this();
    for (size_t i = 0; i < m_assets.size(); ++i) {
        auto button = View::make<Button>(ButtonType::System);
        button->setFrame(
            Rect{10, kTop + kRowHeight * static_cast<double>(i), width - 20, kRowHeight});
        button->addTarget(
            weakAction(self, [i](PhotoPickerViewController& picker) { picker.toggleAsset(i); }),
            ControlEvent::TouchUpInside);
        view()->addSubview(button);
        m_photoButtons.push_back(button);
    }
    const double bottom = kTop + kRowHeight * static_cast<double>(m_assets.size()) + 10;
    auto doneButton = View::make<Button>(ButtonType::System);
    doneButton->setFrame(Rect{width - 110, bottom, 100, kRowHeight});
    doneButton->setTitle(kDoneTitle);
    doneButton->addTarget(weakAction(self, [](PhotoPickerViewController& p) { p.done(); }),
                          ControlEvent::TouchUpInside);
    view()->addSubview(doneButton);
    auto cancelButton = View::make<Button>(ButtonType::System);
    cancelButton->setFrame(Rect{10, bottom, 100, kRowHeight});
    cancelButton->setTitle(kCancelTitle);
    cancelButton->addTarget(weakAction(self, [](PhotoPickerViewController& p) { p.cancel(); }),
                            ControlEvent::TouchUpInside);
    view()->addSubview(cancelButton);
    updateTitles();
}

void PhotoPickerViewController::updateTitles() {
    for (size_t i = 0; i < m_photoButtons.size() && i < m_assets.size(); ++i)
        m_photoButtons[i]->setTitle((isAssetSelected(i) ? kTickMark : "") + m_assets[i].name());
}

}  // namespace platform::components
