#include "platform/ui/AlertView.h"

#include <algorithm>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/AlertButtonPress.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextField.h"

namespace platform {

namespace {

// The phone's alert metrics.
constexpr double kPadding = 16;
constexpr double kTopPadding = 20;
constexpr double kFieldHeight = 26;
constexpr double kFieldSpacing = 8;
constexpr double kButtonHeight = 44;

Font titleFont() {
    return Font::boldSystemFont(17);
}
Font messageFont() {
    return Font::systemFont(13);
}

double textHeight(const std::string& text, const Font& font) {
    if (text.empty()) {
        return 0;
    }
    return TextMeasurer::current()
        .boundingSize(text, font, {AlertView::kWidth - 2 * kPadding, 0})
        .height;
}

}  // namespace

AlertView::AlertView() {
    resize();
}

AlertView::AlertView(std::string title, std::string message,
                     std::weak_ptr<AlertViewDelegate> delegate,
                     const std::string& cancelButtonTitle,
                     const std::vector<std::string>& otherButtonTitles)
    : m_title(std::move(title)), m_message(std::move(message)), m_delegate(std::move(delegate)) {
    if (!cancelButtonTitle.empty()) {
        m_cancelButtonIndex = m_buttons.add(cancelButtonTitle);
    }
    for (const auto& other : otherButtonTitles) {
        m_buttons.add(other);
    }
    resize();
}

void AlertView::setTitle(std::string title) {
    setDisplayed(m_title, std::move(title));
    resize();
}

void AlertView::setMessage(std::string message) {
    setDisplayed(m_message, std::move(message));
    resize();
}

int AlertView::addButtonWithTitle(std::string title) {
    int index = m_buttons.add(std::move(title));
    setNeedsDisplay();
    resize();
    return index;
}

std::string AlertView::buttonTitleAtIndex(int index) const {
    return m_buttons.titleAt(index);
}

void AlertView::setCancelButtonIndex(int index) {
    setDisplayed(m_cancelButtonIndex, m_buttons.indexOrNone(index));
}

int AlertView::firstOtherButtonIndex() const {
    return m_buttons.firstIndexOtherThan({m_cancelButtonIndex});
}

void AlertView::setAlertViewStyle(AlertViewStyle style) {
    if (style == m_style) {
        return;
    }
    m_style = style;
    for (auto& field : m_fields) {
        field->removeFromSuperview();
    }
    m_fields.clear();
    auto makeField = [this](bool secure) {
        auto field = View::make<TextField>();
        field->setBorderStyle(TextBorderStyle::Line);
        field->setFont(Font::systemFont(13));
        field->setSecureTextEntry(secure);
        addSubview(field);
        m_fields.push_back(field);
    };
    switch (style) {
        case AlertViewStyle::Default:
            break;
        case AlertViewStyle::SecureTextInput:
            makeField(true);
            break;
        case AlertViewStyle::PlainTextInput:
            makeField(false);
            break;
        case AlertViewStyle::LoginAndPasswordInput:
            makeField(false);
            makeField(true);
            break;
    }
    resize();
}

std::shared_ptr<TextField> AlertView::textFieldAtIndex(int index) const {
    if (index < 0 || index >= int(m_fields.size())) {
        return nullptr;
    }
    return m_fields[size_t(index)];
}

void AlertView::setAccessoryView(std::shared_ptr<View> view) {
    if (m_accessoryView && m_accessoryView->superview().get() == this) {
        m_accessoryView->removeFromSuperview();
    }
    m_accessoryView = std::move(view);
    if (m_accessoryView) {
        addSubview(m_accessoryView);
    }
    resize();
}

// --- Showing ----------------------------------------------------------------------------

void AlertView::show() {
    auto self = std::dynamic_pointer_cast<AlertView>(weak_from_this().lock());
    if (!self) {
        return;
    }
    resize();
    layoutIfNeeded();
    AlertPresenter::shared().show(self);
}

bool AlertView::isVisible() const {
    return AlertPresenter::shared().isShowing(this);
}

bool AlertView::pressButton(int index) {
    return pressAlertButton(*this, index);
}

void AlertView::dismissWithClickedButtonIndex(int index, bool /*animated*/) {
    dismissAlertWithButtonIndex(*this, index);
}

// --- Layout -----------------------------------------------------------------------------

void AlertView::resize() {
    double height = kTopPadding;
    double title = textHeight(m_title, titleFont());
    double message = textHeight(m_message, messageFont());
    height += title + (title > 0 && message > 0 ? 4 : 0) + message;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        height += kFieldSpacing + kFieldHeight;
    }
    if (m_accessoryView) {
        height += kFieldSpacing + m_accessoryView->frame().size.height;
    }
    height += kTopPadding;
    int rows = numberOfButtons() == 2 ? 1 : numberOfButtons();
    height += rows * kButtonHeight;
    Size screen = Screen::main().size();
    setFrame(Rect{{(screen.width - kWidth) / 2, (screen.height - height) / 2}, {kWidth, height}});
    setCornerRadius(13);
    setBackgroundColor(Color::whiteAlpha(0.97f, 1));
    setNeedsLayout();
}

void AlertView::layoutSubviews() {
    double y = kTopPadding + textHeight(m_title, titleFont());
    double message = textHeight(m_message, messageFont());
    if (message > 0) {
        y += (y > kTopPadding ? 4 : 0) + message;
    }
    for (auto& field : m_fields) {
        y += kFieldSpacing;
        field->setFrame(Rect{{kPadding, y}, {kWidth - 2 * kPadding, kFieldHeight}});
        y += kFieldHeight;
    }
    if (m_accessoryView) {
        Rect frame = m_accessoryView->frame();
        // An accessory keeps its own x (the phone's callers place it inside the alert).
        m_accessoryView->setFrame(Rect{{frame.origin.x, y + kFieldSpacing}, frame.size});
    }
}

void AlertView::draw(BitmapContext& context, const Rect& rect) {
    double y = kTopPadding;
    double width = rect.size.width - 2 * kPadding;
    double title = textHeight(m_title, titleFont());
    if (title > 0) {
        context.drawText(m_title, titleFont(), Color::black(), Rect{{kPadding, y}, {width, title}},
                         TextAlignment::Center, 0);
        y += title + 4;
    }
    double message = textHeight(m_message, messageFont());
    if (message > 0) {
        context.drawText(m_message, messageFont(), Color::black(),
                         Rect{{kPadding, y}, {width, message}}, TextAlignment::Center, 0);
    }
    int count = numberOfButtons();
    Color separator = Color::whiteAlpha(0.8f, 1);
    Color tint = tintColor();
    for (int i = 0; i < count; ++i) {
        Rect button = buttonRect(i);
        context.strokeLine({button.minX(), button.minY()}, {button.maxX(), button.minY()},
                           separator, 0.5);
        if (count == 2 && i == 1) {
            context.strokeLine({button.minX(), button.minY()}, {button.minX(), button.maxY()},
                               separator, 0.5);
        }
        Font font = i == m_cancelButtonIndex ? Font::boldSystemFont(17) : Font::systemFont(17);
        double line = TextMeasurer::current().lineHeight(font);
        context.drawText(m_buttons.titleAt(i), font, tint,
                         Rect{{button.minX(), button.minY() + (kButtonHeight - line) / 2},
                              {button.size.width, line}},
                         TextAlignment::Center, 1);
    }
}

Rect AlertView::buttonRect(int index) const {
    const Rect rect = bounds();
    int count = numberOfButtons();
    int rows = count == 2 ? 1 : count;
    double top = rect.maxY() - rows * kButtonHeight;
    return count == 2
               ? Rect{{index * rect.size.width / 2, top}, {rect.size.width / 2, kButtonHeight}}
               : Rect{{0, top + index * kButtonHeight}, {rect.size.width, kButtonHeight}};
}

int AlertView::buttonIndexAt(Point pointInAlert) const {
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (buttonRect(i).contains(pointInAlert)) {
            return i;
        }
    }
    return -1;
}

std::string AlertView::describeAlert() const {
    return describeAlertLine("alert", m_title, m_message, m_buttons.titles());
}

}  // namespace platform
