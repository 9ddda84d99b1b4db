#include "components/photopicker/PhotoPickerViewController.h"

#include <algorithm>

#include "components/photopicker/PhotoGridView.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"

namespace platform::components {

namespace {

constexpr double kToolbarHeight = 44;
constexpr double kDoneWidth = 80;
constexpr double kToolbarMargin = 8;
const Color kBarColour = Color::whiteAlpha(0.97f, 1);
const Color kHairline = Color::whiteAlpha(0, 0.3f);

template <typename Call>
auto weakCall(const std::shared_ptr<ViewController>& controller, Call call) {
    return [weak = std::weak_ptr<ViewController>(controller), call](auto&) {
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
    if (!m_selected.erase(index)) {
        if (!m_allowsMultipleSelection)
            m_selected.clear();
        m_selected.insert(index);
    }
    updateSelection();
    return true;
}

void PhotoPickerViewController::done() {
    std::vector<PhotoAsset> picked;
    for (size_t index : m_selected) picked.push_back(m_assets[index]);
    auto delegate = m_delegate.lock();
    dismissViewController(true);
    if (!delegate)
        return;
    if (picked.empty())
        delegate->pickerViewControllerDidCancel();
    else
        delegate->pickerViewControllerDoneAsstes(picked);
}

void PhotoPickerViewController::cancel() {
    auto delegate = m_delegate.lock();
    dismissViewController(true);
    if (delegate)
        delegate->pickerViewControllerDidCancel();
}

void PhotoPickerViewController::loadView() {
    ViewController::loadView();
    view()->setBackgroundColor(Color::white());
    // Both statuses end on the camera roll: the stand-in library holds no other album.
    m_assets = PhotoLibrary::shared().assets();
    auto self = shared_from_this();

    m_grid = View::make<PhotoGridView>(m_assets);
    m_grid->onTap = [weak = std::weak_ptr<ViewController>(self)](size_t index) {
        if (auto picker = std::static_pointer_cast<PhotoPickerViewController>(weak.lock()))
            picker->toggleAsset(index);
    };
    view()->addSubview(m_grid);

    m_bar = View::make<NavigationBar>();
    auto item = std::make_shared<NavigationItem>(PhotoLibrary::kCameraRollName);
    item->setRightBarButtonItem(std::make_shared<BarButtonItem>(
        kCancelTitle, BarButtonItemStyle::Plain,
        weakCall(self, [](PhotoPickerViewController& p) { p.cancel(); })));
    m_bar->setItems({item});
    view()->addSubview(m_bar);

    m_toolbar = View::make<View>();
    m_toolbar->setBackgroundColor(kBarColour);
    auto hairline = View::make<View>();
    hairline->setBackgroundColor(kHairline);
    hairline->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
    m_toolbar->addSubview(hairline);
    m_doneButton = View::make<Button>(ButtonType::System);
    m_doneButton->setTitle(kDoneTitle);
    m_doneButton->titleLabel()->setFont(Font::boldSystemFont(17));
    m_doneButton->addTarget(weakCall(self, [](PhotoPickerViewController& p) { p.done(); }),
                            ControlEvent::TouchUpInside);
    m_toolbar->addSubview(m_doneButton);
    view()->addSubview(m_toolbar);
    updateSelection();
}

void PhotoPickerViewController::viewDidLayoutSubviews() {
    ViewController::viewDidLayoutSubviews();
    // The bars keep their places at the screen's edges whatever its size (a turned phone, a
    // tablet's sheet); the grid scrolls between them.
    const Size size = view()->bounds().size;
    const double top = topLayoutGuideLength();
    m_bar->setFrame(Rect{{0, top}, {size.width, NavigationBar::kHeight}});
    const double toolbarTop = std::max(m_bar->frame().maxY(), size.height - kToolbarHeight);
    m_toolbar->setFrame(Rect{{0, toolbarTop}, {size.width, kToolbarHeight}});
    m_toolbar->subviews().front()->setFrame(Rect{{0, 0}, {size.width, 0.5}});
    m_doneButton->setFrame(
        Rect{{size.width - kDoneWidth - kToolbarMargin, 0}, {kDoneWidth, kToolbarHeight}});
    const double gridTop = m_bar->frame().maxY();
    m_grid->setFrame(Rect{{0, gridTop}, {size.width, std::max(0.0, toolbarTop - gridTop)}});
}

void PhotoPickerViewController::updateSelection() {
    if (!m_grid)
        return;
    const auto& cells = m_grid->thumbnails();
    for (size_t i = 0; i < cells.size(); ++i) cells[i]->setSelected(isAssetSelected(i));
}

}  // namespace platform::components
