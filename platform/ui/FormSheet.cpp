#include "platform/ui/FormSheet.h"

#include "platform/graphics/Color.h"
#include "platform/ui/Application.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

// The panel, known by its class when the presented view leaves it.
class FormSheetPanel : public View {
public:
    using View::View;
    std::string describe() const override { return "form sheet"; }
};

}  // namespace

bool FormSheet::applies(ModalPresentationStyle style) {
    return (style == ModalPresentationStyle::FormSheet ||
            style == ModalPresentationStyle::PageSheet) &&
           Application::shared().userInterfaceIdiom() == UserInterfaceIdiom::Pad;
}

void FormSheet::place(Window& window, const std::shared_ptr<View>& presented) {
    const Rect area = window.bounds();
    auto dimming = View::make<View>(area);
    dimming->setBackgroundColor(Color::whiteAlpha(0, 0.4f));
    dimming->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                 AutoresizingMask::FlexibleHeight);
    auto panel = View::make<FormSheetPanel>(
        Rect{{(area.size.width - kSize.width) / 2, (area.size.height - kSize.height) / 2}, kSize});
    panel->setAutoresizingMask(
        AutoresizingMask::FlexibleLeftMargin | AutoresizingMask::FlexibleRightMargin |
        AutoresizingMask::FlexibleTopMargin | AutoresizingMask::FlexibleBottomMargin);
    panel->setClipsToBounds(true);
    presented->setFrame(panel->bounds());
    dimming->addSubview(panel);
    panel->addSubview(presented);
    window.addSubview(dimming);
}

void FormSheet::remove(View& presented) {
    auto panel = std::dynamic_pointer_cast<FormSheetPanel>(presented.superview());
    if (!panel) {
        return;
    }
    if (auto dimming = panel->superview()) {
        dimming->removeFromSuperview();
    }
}

}  // namespace platform
