#include "platform/ui/ActionSheet.h"

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/ActionSheetDelegate.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Screen.h"

namespace platform {

namespace {

constexpr double kRowHeight = 57;
constexpr double kTitleHeight = 44;

}  // namespace

ActionSheet::ActionSheet() = default;

ActionSheet::ActionSheet(std::string title, std::weak_ptr<ActionSheetDelegate> delegate,
                         const std::string& cancelButtonTitle,
                         const std::string& destructiveButtonTitle,
                         const std::vector<std::string>& otherButtonTitles)
    : m_title(std::move(title)), m_delegate(std::move(delegate)) {
    if (!destructiveButtonTitle.empty()) {
        m_destructiveButtonIndex = int(m_buttons.size());
        m_buttons.push_back(destructiveButtonTitle);
    }
    for (const auto& other : otherButtonTitles) {
        m_buttons.push_back(other);
    }
    if (!cancelButtonTitle.empty()) {
        m_cancelButtonIndex = int(m_buttons.size());
        m_buttons.push_back(cancelButtonTitle);
    }
}

int ActionSheet::addButtonWithTitle(std::string title) {
    m_buttons.push_back(std::move(title));
    return int(m_buttons.size()) - 1;
}

std::string ActionSheet::buttonTitleAtIndex(int index) const {
    if (index < 0 || index >= numberOfButtons()) {
        return "";
    }
    return m_buttons[size_t(index)];
}

void ActionSheet::setCancelButtonIndex(int index) {
    m_cancelButtonIndex = (index >= 0 && index < numberOfButtons()) ? index : -1;
}

void ActionSheet::setDestructiveButtonIndex(int index) {
    m_destructiveButtonIndex = (index >= 0 && index < numberOfButtons()) ? index : -1;
}

int ActionSheet::firstOtherButtonIndex() const {
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i != m_cancelButtonIndex && i != m_destructiveButtonIndex) {
            return i;
        }
    }
    return -1;
}

void ActionSheet::showInView(const std::shared_ptr<View>& view) {
    auto self = std::dynamic_pointer_cast<ActionSheet>(weak_from_this().lock());
    if (!self) {
        return;
    }
    m_shownIn = view;
    Rect area = view ? view->convertRectTo(view->bounds(), nullptr) : Screen::main().bounds();
    double height = numberOfButtons() * kRowHeight + (m_title.empty() ? 0 : kTitleHeight);
    setFrame(Rect{{area.minX(), area.maxY() - height}, {area.size.width, height}});
    setBackgroundColor(Color::whiteAlpha(0.97f, 1));
    AlertPresenter::shared().show(self);
}

bool ActionSheet::isVisible() const {
    return AlertPresenter::shared().isShowing(this);
}

bool ActionSheet::pressButton(int index) {
    if (!isVisible() || index < 0 || index >= numberOfButtons()) {
        return false;
    }
    auto self = weak_from_this().lock();
    if (auto delegate = this->delegate()) {
        delegate->clickedButtonAtIndex(*this, index);
    }
    dismiss(index);
    return true;
}

void ActionSheet::dismissWithClickedButtonIndex(int index, bool /*animated*/) {
    if (!isVisible()) {
        return;
    }
    auto self = weak_from_this().lock();
    dismiss(index);
}

void ActionSheet::dismiss(int index) {
    // Headless sheets vanish at once, so did-dismiss follows will-dismiss directly.
    if (auto delegate = this->delegate()) {
        delegate->willDismissWithButtonIndex(*this, index);
    }
    AlertPresenter::shared().remove(this);
    if (auto delegate = this->delegate()) {
        delegate->didDismissWithButtonIndex(*this, index);
    }
}

void ActionSheet::draw(BitmapContext& context, const Rect& rect) {
    double y = 0;
    if (!m_title.empty()) {
        Font font = Font::systemFont(13);
        double line = TextMeasurer::current().lineHeight(font);
        context.drawText(m_title, font, Color::gray(),
                         Rect{{0, (kTitleHeight - line) / 2}, {rect.size.width, line}},
                         TextAlignment::Center, 1);
        y = kTitleHeight;
    }
    Font font = Font::systemFont(20);
    double line = TextMeasurer::current().lineHeight(font);
    for (int i = 0; i < numberOfButtons(); ++i) {
        double top = y + i * kRowHeight;
        context.strokeLine({0, top}, {rect.size.width, top}, Color::whiteAlpha(0.8f, 1), 0.5);
        Color color = i == m_destructiveButtonIndex ? Color::redColor() : tintColor();
        context.drawText(m_buttons[size_t(i)],
                         i == m_cancelButtonIndex ? Font::boldSystemFont(20) : font, color,
                         Rect{{0, top + (kRowHeight - line) / 2}, {rect.size.width, line}},
                         TextAlignment::Center, 1);
    }
}

std::string ActionSheet::describeAlert() const {
    return describeAlertLine("action sheet", m_title, "", m_buttons);
}

}  // namespace platform
