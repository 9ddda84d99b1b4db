#include "platform/ui/TextField.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Caret.h"
#include "platform/ui/TextEditingSession.h"
#include "platform/ui/TextFieldDelegate.h"

namespace platform {

namespace {

// Space the phone leaves between a drawn border and the text.
constexpr double kBorderPadding = 7;
// Width the clear button takes at the right end of the field.
constexpr double kClearButtonWidth = 28;

bool isLineBreak(const std::string& character) {
    return character == "\n" || character == "\r" || character == "\r\n";
}

}  // namespace

// The field's part in editing: its delegate's answers, its overlay views and its control
// events.
class TextField::Editing final : public TextEditingSession {
public:
    explicit Editing(TextField& field)
        : TextEditingSession(
              field, field.m_text,
              {"UITextFieldTextDidBeginEditingNotification",
               "UITextFieldTextDidEndEditingNotification", "UITextFieldTextDidChangeNotification"}),
          m_field(field) {}

private:
    bool shouldBeginEditing() override {
        auto delegate = m_field.delegate();
        return !delegate || delegate->textFieldShouldBeginEditing(m_field);
    }
    void didBeginEditing() override {
        if (m_field.m_clearsOnBeginEditing) {
            m_field.m_text.clear();
            textWasSet();
        }
        m_field.updateOverlayViews();
        if (auto delegate = m_field.delegate()) {
            delegate->textFieldDidBeginEditing(m_field);
        }
        m_field.sendActions(ControlEvent::EditingDidBegin);
    }
    bool shouldEndEditing() override {
        auto delegate = m_field.delegate();
        return !delegate || delegate->textFieldShouldEndEditing(m_field);
    }
    void didEndEditing() override {
        // Shown again from its start (ending in an ellipsis when it does not fit).
        m_field.m_scroll = 0;
        m_field.updateOverlayViews();
        if (auto delegate = m_field.delegate()) {
            delegate->textFieldDidEndEditing(m_field);
        }
        m_field.sendActions(ControlEvent::EditingDidEnd);
    }
    bool shouldChangeText(TextRange range, const std::string& replacement) override {
        auto delegate = m_field.delegate();
        return !delegate || delegate->shouldChangeCharactersInRange(m_field, range, replacement);
    }
    void didChangeText() override {
        m_field.updateOverlayViews();
        m_field.sendActions(ControlEvent::EditingChanged);
    }
    // A field holds one line: a line feed presses the return key.
    bool handleKey(const std::string& character) override {
        if (!isLineBreak(character)) {
            return false;
        }
        m_field.pressReturn();
        return true;
    }

    TextField& m_field;
};

TextField::TextField() : m_editing(std::make_unique<Editing>(*this)) {}

TextField::TextField(const Rect& frame)
    : Control(frame), m_editing(std::make_unique<Editing>(*this)) {}

TextField::~TextField() = default;

// --- Content ----------------------------------------------------------------------------

void TextField::setText(std::string text) {
    setDisplayed(m_text, std::move(text));
    m_editing->textWasSet();
    setNeedsLayout();
}

void TextField::setPlaceholder(std::string placeholder) {
    setDisplayed(m_placeholder, std::move(placeholder));
}

std::string TextField::displayedText() const {
    if (!m_secureTextEntry) {
        return m_text;
    }
    std::string bullets;
    for (size_t i = 0, n = composedCharacters(m_text).size(); i < n; ++i) {
        bullets += "\u2022";
    }
    return bullets;
}

// --- Overlay views ----------------------------------------------------------------------

void TextField::setLeftView(std::shared_ptr<View> view) {
    if (m_leftView && m_leftView->superview().get() == this) {
        m_leftView->removeFromSuperview();
    }
    m_leftView = std::move(view);
    updateOverlayViews();
}

void TextField::setLeftViewMode(TextFieldViewMode mode) {
    m_leftViewMode = mode;
    updateOverlayViews();
}

void TextField::setRightView(std::shared_ptr<View> view) {
    if (m_rightView && m_rightView->superview().get() == this) {
        m_rightView->removeFromSuperview();
    }
    m_rightView = std::move(view);
    updateOverlayViews();
}

void TextField::setRightViewMode(TextFieldViewMode mode) {
    m_rightViewMode = mode;
    updateOverlayViews();
}

bool TextField::shows(TextFieldViewMode mode) const {
    switch (mode) {
        case TextFieldViewMode::Never:
            return false;
        case TextFieldViewMode::WhileEditing:
            return isEditing();
        case TextFieldViewMode::UnlessEditing:
            return !isEditing();
        case TextFieldViewMode::Always:
            return true;
    }
    return false;
}

bool TextField::isClearButtonShown() const {
    return !m_text.empty() && shows(m_clearButtonMode);
}

void TextField::updateOverlayViews() {
    for (auto [view, mode] :
         {std::pair{m_leftView, m_leftViewMode}, std::pair{m_rightView, m_rightViewMode}}) {
        if (!view) {
            continue;
        }
        bool mine = view->superview().get() == this;
        if (shows(mode) && !mine) {
            addSubview(view);
        } else if (!shows(mode) && mine) {
            view->removeFromSuperview();
        }
    }
    // Editing starting or ending, or the text changing, shows or hides the clear button,
    // which moves the text.
    setNeedsDisplay();
    setNeedsLayout();
}

// --- Editing ----------------------------------------------------------------------------

bool TextField::isEditing() const {
    return m_editing->isEditing();
}

bool TextField::canBecomeFirstResponder() const {
    return isEnabled() && !isHidden();
}

bool TextField::becomeFirstResponder() {
    return m_editing->begin();
}

bool TextField::resignFirstResponder() {
    return m_editing->resign();
}

bool TextField::typeText(const std::string& text) {
    return m_editing->typeText(text);
}

bool TextField::replaceCharacters(TextRange range, const std::string& replacement) {
    return m_editing->replace(range, replacement);
}

bool TextField::deleteBackward() {
    return m_editing->deleteBackward();
}

bool TextField::pressReturn() {
    auto self = weak_from_this().lock();
    if (!isFirstResponder()) {
        return false;
    }
    if (auto delegate = this->delegate(); delegate && !delegate->textFieldShouldReturn(*this)) {
        return false;
    }
    bool endsOnExit = hasAny(allControlEvents(), ControlEvent::EditingDidEndOnExit);
    sendActions(ControlEvent::EditingDidEndOnExit);
    if (endsOnExit && isFirstResponder()) {
        resignFirstResponder();
    }
    return true;
}

bool TextField::pressClearButton() {
    auto self = weak_from_this().lock();
    if (!m_editing->ensureEditing()) {
        return false;
    }
    if (auto delegate = this->delegate(); delegate && !delegate->textFieldShouldClear(*this)) {
        return false;
    }
    if (m_text.empty()) {
        return true;
    }
    m_text.clear();
    m_editing->textWasSet();
    updateOverlayViews();
    sendActions(ControlEvent::EditingChanged);
    NotificationCenter::defaultCenter().post("UITextFieldTextDidChangeNotification");
    return true;
}

std::size_t TextField::insertionPoint() const {
    return m_editing->insertionPoint();
}

void TextField::setInsertionPoint(std::size_t index) {
    m_editing->setInsertionPoint(index);
}

std::size_t TextField::shownInsertionPoint() const {
    std::size_t index = insertionPoint();
    return m_secureTextEntry ? composedCharactersBefore(m_text, index) : index;
}

void TextField::touchesEnded(const Touches& touches) {
    auto self = weak_from_this().lock();
    const Point at = touches.empty() ? Point{} : touches.front().locationInView(this);
    bool tapped = isTracking() && !touches.empty() &&
                  bounds().insetBy(-kTrackingMargin, -kTrackingMargin).contains(at);
    Control::touchesEnded(touches);
    if (!tapped || !isEnabled()) {
        return;
    }
    // As on the phone, a tap that begins editing puts the caret at the end of the text; a tap
    // on the field being edited puts it where the finger is.
    if (!isEditing()) {
        becomeFirstResponder();
        return;
    }
    if (m_text.empty()) {
        return;
    }
    const Rect line = lineRect(textRectForBounds(bounds()), m_font);
    const std::string shown = displayedText();
    const std::size_t index =
        caretIndexInText(shown, m_font, editedTextRect(line), m_textAlignment, at);
    setInsertionPoint(m_secureTextEntry ? composedCharactersEnd(m_text, index) : index);
}

// --- Layout and drawing -----------------------------------------------------------------

Rect TextField::leftViewRectForBounds(const Rect& bounds) const {
    if (!m_leftView) {
        return Rect{};
    }
    Size size = m_leftView->frame().size;
    return Rect{{bounds.minX(), bounds.minY() + (bounds.size.height - size.height) / 2}, size};
}

Rect TextField::rightViewRectForBounds(const Rect& bounds) const {
    if (!m_rightView) {
        return Rect{};
    }
    Size size = m_rightView->frame().size;
    return Rect{
        {bounds.maxX() - size.width, bounds.minY() + (bounds.size.height - size.height) / 2}, size};
}

Rect TextField::textRectForBounds(const Rect& bounds) const {
    double left = bounds.minX();
    double right = bounds.maxX();
    if (m_leftView && shows(m_leftViewMode)) {
        left = leftViewRectForBounds(bounds).maxX();
    }
    if (m_rightView && shows(m_rightViewMode)) {
        right = rightViewRectForBounds(bounds).minX();
    }
    if (isClearButtonShown()) {
        right -= kClearButtonWidth;
    }
    double padding = m_borderStyle == TextBorderStyle::None ? 0 : kBorderPadding;
    left += padding;
    right -= padding;
    return Rect{{left, bounds.minY()}, {std::max(0.0, right - left), bounds.size.height}};
}

void TextField::layoutSubviews() {
    Rect b = bounds();
    if (m_leftView && m_leftView->superview().get() == this) {
        m_leftView->setFrame(leftViewRectForBounds(b));
    }
    if (m_rightView && m_rightView->superview().get() == this) {
        m_rightView->setFrame(rightViewRectForBounds(b));
    }
}

void TextField::draw(BitmapContext& context, const Rect& rect) {
    Rect inner = rect.insetBy(0.5, 0.5);
    switch (m_borderStyle) {
        case TextBorderStyle::None:
            break;
        case TextBorderStyle::Line:
            context.strokeRect(inner, Color::black(), 1);
            break;
        case TextBorderStyle::Bezel:
            context.strokeRect(inner, Color::gray(), 1);
            break;
        case TextBorderStyle::RoundedRect:
            // The phone's white rounded field, unless the screen gave it a background.
            if (backgroundColor().alpha == 0) {
                context.fillRoundedRect(inner, 5, Color::white());
            }
            context.strokeRoundedRect(inner, 5, Color::lightGray(), 1);
            break;
    }
    const bool showPlaceholder = m_text.empty();
    const bool editing = isEditing();
    const std::string shown = showPlaceholder ? m_placeholder : displayedText();
    const Rect textRect = textRectForBounds(rect);
    Font font = showPlaceholder ? placeholderFont() : m_font;
    Color color = showPlaceholder ? m_placeholderColor : m_textColor;
    if (!isEnabled()) {
        color = color.withAlpha(color.alpha * 0.5f);
    }
    if (!editing || showPlaceholder) {
        if (!shown.empty()) {
            context.drawText(shown, font, color, lineRect(textRect, font), m_textAlignment, 1);
        }
        if (editing) {
            // Over the placeholder, where the first character will go.
            drawCaret(context,
                      caretRectInText("", 0, m_font, lineRect(textRect, m_font), m_textAlignment),
                      tintColor());
        }
        return;
    }
    // The edited text is never cut short: it scrolls within its line to keep the caret shown.
    const Rect line = lineRect(textRect, font);
    const Rect drawn = editedTextRect(line);
    context.saveState();
    context.clip(line.insetBy(0, -line.size.height));
    context.drawText(shown, font, color, drawn, m_textAlignment, 1);
    drawCaret(context, caretRectInText(shown, shownInsertionPoint(), font, drawn, m_textAlignment),
              tintColor());
    context.restoreState();
}

Rect TextField::lineRect(const Rect& textRect, const Font& font) const {
    double lineHeight = TextMeasurer::current().lineHeight(font);
    return Rect{{textRect.minX(), textRect.minY() + (textRect.size.height - lineHeight) / 2},
                {textRect.size.width, lineHeight}};
}

Rect TextField::editedTextRect(const Rect& line) {
    const std::string shown = displayedText();
    const Rect unbounded{{0, 0}, {0, line.size.height}};
    const double textWidth =
        caretRectInText(shown, shown.size(), m_font, unbounded, TextAlignment::Left).minX();
    if (textWidth + kCaretWidth <= line.size.width) {
        m_scroll = 0;
        return line;
    }
    const double caretX =
        caretRectInText(shown, shownInsertionPoint(), m_font, unbounded, TextAlignment::Left)
            .minX();
    m_scroll = scrollToShowCaret(m_scroll, caretX, textWidth, line.size.width);
    return Rect{{line.minX() - m_scroll, line.minY()}, {0, line.size.height}};
}

std::string TextField::describe() const {
    std::string text = m_secureTextEntry ? "secure field " : "field ";
    // Appended piece by piece: a literal + string concatenation trips GCC 12's false
    // -Wrestrict at -O3 (see CMakeLists.txt).
    if (m_text.empty() && !m_placeholder.empty()) {
        text += "placeholder \"";
        text += m_placeholder;
    } else {
        text += '"';
        text += displayedText();
    }
    text += '"';
    if (isEditing()) {
        text += " (editing)";
    } else if (!isEnabled()) {
        text += " (disabled)";
    }
    return text;
}

}  // namespace platform
