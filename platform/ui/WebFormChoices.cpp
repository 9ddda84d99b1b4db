#include "platform/ui/WebFormChoices.h"

#include <algorithm>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/ViewController.h"

namespace platform {

namespace {

constexpr const char* kCancel = "取消";
constexpr double kMaxPopoverRows = 10;
const Color kChosenColor = Color::rgba(0, 0.48f, 1);
// The strip at a row's right end where the chosen row's check mark stands.
constexpr double kMarkRoom = 36;
constexpr double kMarkFontSize = 18;

// A row of the tablet's list. The chosen one is in the tint with a check mark at its right
// end, as the phone's sheet marks it, and is told so in the outline ("大二 ✓").
class ChoiceRow final : public Button {
public:
    ChoiceRow(const Rect& frame, const std::string& title, bool chosen)
        : Button(frame), m_chosen(chosen) {
        setTitle(title);
        setTitleColor(chosen ? kChosenColor : Color::black());
    }

    std::string describe() const override {
        return m_chosen ? "button \"" + currentTitle() + " ✓\"" : Button::describe();
    }

    void draw(BitmapContext& context, const Rect& rect) override {
        Button::draw(context, rect);
        if (!m_chosen) {
            return;
        }
        const Font font = Font::systemFont(kMarkFontSize);
        const double line = TextMeasurer::current().lineHeight(font);
        const Size size = bounds().size;
        context.drawText(
            "✓", font, kChosenColor,
            Rect{{size.width - kMarkRoom, (size.height - line) / 2}, {kMarkRoom, line}},
            TextAlignment::Center, 1);
    }

private:
    bool m_chosen;
};

}  // namespace

WebFormChoices::~WebFormChoices() {
    if (m_popover) {
        m_popover->dismissPopover(false);
    }
}

void WebFormChoices::open(View& select, std::shared_ptr<View> sheetHost,
                          const std::vector<std::string>& options, int selected,
                          std::function<void(int)> chosen) {
    close();
    m_chosen = std::move(chosen);
    if (Application::shared().userInterfaceIdiom() != UserInterfaceIdiom::Pad) {
        auto sheet = View::make<ActionSheet>("", weak_from_this(), kCancel, "", options);
        m_sheet = sheet;
        // The choice already made is marked, as the phone's list of a select marks it.
        if (selected >= 0 && selected < int(options.size())) {
            sheet->setMarkedButtonIndex(sheet->firstOtherButtonIndex() + selected);
        }
        sheet->showInView(sheetHost);
        return;
    }
    // The tablet: a list of the choices beside the select, the chosen one in the tint and
    // marked.
    auto content = std::make_shared<ViewController>();
    const double rows = std::min<double>(double(options.size()), kMaxPopoverRows);
    const Size size{kPopoverWidth, std::max(1.0, rows) * kRowHeight};
    auto list = content->view();
    // Sized as the panel shows it, so that the rows keep their width when it is fitted in.
    list->setFrame(Rect{{0, 0}, size});
    list->setBackgroundColor(Color::white());
    std::weak_ptr<WebFormChoices> weak = weak_from_this();
    for (std::size_t i = 0; i < options.size(); ++i) {
        auto row =
            View::make<ChoiceRow>(Rect{{0, double(i) * kRowHeight}, {kPopoverWidth, kRowHeight}},
                                  options[i], int(i) == selected);
        row->setAutoresizingMask(AutoresizingMask::FlexibleWidth);
        row->addTarget(
            [weak, index = int(i)](Control&) {
                if (auto choices = weak.lock()) {
                    choices->pick(index);
                }
            },
            ControlEvent::TouchUpInside);
        list->addSubview(row);
    }
    m_popover = std::make_shared<PopoverController>(content);
    m_popover->setPopoverContentSize(size);
    m_popover->presentFromRect(select.bounds(), select, PopoverArrowDirection::Any, true);
}

void WebFormChoices::close() {
    // What opened the list hears that nothing was chosen.
    if (auto chosen = std::exchange(m_chosen, nullptr))
        chosen(-1);
    if (auto sheet = m_sheet.lock(); sheet && sheet->isVisible()) {
        sheet->dismissWithClickedButtonIndex(sheet->cancelButtonIndex(), false);
    }
    m_sheet.reset();
    if (auto popover = std::move(m_popover)) {
        popover->dismissPopover(false);
    }
}

bool WebFormChoices::isOpen() const {
    auto sheet = m_sheet.lock();
    return (sheet && sheet->isVisible()) || (m_popover && m_popover->isPopoverVisible());
}

void WebFormChoices::clickedButtonAtIndex(ActionSheet& sheet, int index) {
    if (index == sheet.cancelButtonIndex() || index < sheet.firstOtherButtonIndex()) {
        if (auto chosen = std::exchange(m_chosen, nullptr))
            chosen(-1);
        return;
    }
    pick(index - sheet.firstOtherButtonIndex());
}

void WebFormChoices::pick(int index) {
    auto self = shared_from_this();
    auto chosen = std::move(m_chosen);
    m_chosen = nullptr;
    if (auto popover = std::move(m_popover)) {
        popover->dismissPopover(true);
    }
    if (chosen) {
        chosen(index);
    }
}

}  // namespace platform
