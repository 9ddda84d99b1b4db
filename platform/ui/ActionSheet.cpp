#include "platform/ui/ActionSheet.h"

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/ActionSheetDelegate.h"
#include "platform/ui/AlertButtonPress.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Screen.h"

namespace platform {

namespace {

constexpr double kRowHeight = 57;
constexpr double kTitleHeight = 44;
// The strip at a row's right end where a marked button's check mark stands.
constexpr double kMarkRoom = 44;

}  // namespace

ActionSheet::ActionSheet() = default;

ActionSheet::ActionSheet(std::string title, std::weak_ptr<ActionSheetDelegate> delegate,
                         const std::string& cancelButtonTitle,
                         const std::string& destructiveButtonTitle,
                         const std::vector<std::string>& otherButtonTitles)
    : m_title(std::move(title)), m_delegate(std::move(delegate)) {
    if (!destructiveButtonTitle.empty()) {
        m_destructiveButtonIndex = m_buttons.add(destructiveButtonTitle);
    }
    for (const auto& other : otherButtonTitles) {
        m_buttons.add(other);
    }
    if (!cancelButtonTitle.empty()) {
        m_cancelButtonIndex = m_buttons.add(cancelButtonTitle);
    }
}

int ActionSheet::addButtonWithTitle(std::string title) {
    int index = m_buttons.add(std::move(title));
    setNeedsDisplay();
    return index;
}

std::string ActionSheet::buttonTitleAtIndex(int index) const {
    return m_buttons.titleAt(index);
}

void ActionSheet::setCancelButtonIndex(int index) {
    setDisplayed(m_cancelButtonIndex, m_buttons.indexOrNone(index));
}

void ActionSheet::setDestructiveButtonIndex(int index) {
    setDisplayed(m_destructiveButtonIndex, m_buttons.indexOrNone(index));
}

int ActionSheet::firstOtherButtonIndex() const {
    return m_buttons.firstIndexOtherThan({m_cancelButtonIndex, m_destructiveButtonIndex});
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
    return pressAlertButton(*this, index);
}

void ActionSheet::dismissWithClickedButtonIndex(int index, bool /*animated*/) {
    dismissAlertWithButtonIndex(*this, index);
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
        context.drawText(m_buttons.titleAt(i),
                         i == m_cancelButtonIndex ? Font::boldSystemFont(20) : font, color,
                         Rect{{0, top + (kRowHeight - line) / 2}, {rect.size.width, line}},
                         TextAlignment::Center, 1);
        if (i == m_markedButtonIndex) {
            context.drawText("✓", font, color,
                             Rect{{rect.size.width - kMarkRoom, top + (kRowHeight - line) / 2},
                                  {kMarkRoom, line}},
                             TextAlignment::Center, 1);
        }
    }
}

// The rows drawn by draw(): one per button under the title.
int ActionSheet::buttonIndexAt(Point pointInAlert) const {
    double top = m_title.empty() ? 0 : kTitleHeight;
    if (pointInAlert.x < 0 || pointInAlert.x >= bounds().size.width || pointInAlert.y < top) {
        return -1;
    }
    int index = int((pointInAlert.y - top) / kRowHeight);
    return index < numberOfButtons() ? index : -1;
}

std::string ActionSheet::describeAlert() const {
    std::vector<std::string> titles = m_buttons.titles();
    if (m_markedButtonIndex >= 0 && m_markedButtonIndex < int(titles.size())) {
        titles[std::size_t(m_markedButtonIndex)] += " ✓";
    }
    return describeAlertLine("action sheet", m_title, "", titles);
}

}  // namespace platform
