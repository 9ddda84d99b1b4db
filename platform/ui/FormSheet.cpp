#include "platform/ui/FormSheet.h"

#include <algorithm>
#include <optional>

#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/Color.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keyboard.h"
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

    // Centred over the screen. While the keyboard is up and would cover the panel's lower
    // part, the panel rises until its bottom meets the keyboard; where even the room between
    // the status bar and the keyboard is too short (a tablet held sideways), it takes that
    // room and is shortened to it, so that all of what it shows stays above the keyboard. It
    // takes its own size back when the keyboard goes.
    void placeForKeyboard() {
        auto area = superview();
        if (!area) {
            return;
        }
        const Size screen = area->bounds().size;
        const Size size = m_shortenedFrom.value_or(frame().size);
        m_shortenedFrom.reset();
        Rect placed{{(screen.width - size.width) / 2, (screen.height - size.height) / 2}, size};
        if (Keyboard::isVisible()) {
            const double keyboardTop = Keyboard::frame().minY();
            if (placed.maxY() > keyboardTop) {
                placed.origin.y = std::max(kStatusBarHeight, keyboardTop - size.height);
            }
            if (placed.maxY() > keyboardTop && keyboardTop > placed.minY()) {
                m_shortenedFrom = size;
                placed.size.height = keyboardTop - placed.minY();
            }
        }
        setFrame(placed);
        // The presented view fills the panel.
        for (const auto& presented : subviews()) {
            presented->setFrame(bounds());
        }
    }

private:
    static constexpr double kStatusBarHeight = 20;
    // The panel's own size while the keyboard has it shortened.
    std::optional<Size> m_shortenedFrom;
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
    panel->placeForKeyboard();
    // The keyboard announces itself again after a turn, so this also places the panel for
    // the turned screen.
    std::weak_ptr<FormSheetPanel> weak = panel;
    for (const char* name : {"UIKeyboardWillShowNotification", "UIKeyboardWillHideNotification"}) {
        NotificationCenter::defaultCenter().addObserver(panel, name, [weak](const Notification&) {
            if (auto sheet = weak.lock()) {
                sheet->placeForKeyboard();
            }
        });
    }
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
