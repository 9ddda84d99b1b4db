#include "platform/ui/TextView.h"

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Caret.h"
#include "platform/ui/TextEditingSession.h"
#include "platform/ui/TextViewDelegate.h"

namespace platform {

// The text view's part in editing: its delegate's answers and its content size.
class TextView::Editing final : public TextEditingSession {
public:
    explicit Editing(TextView& textView)
        : TextEditingSession(
              textView, textView.m_text,
              {"UITextViewTextDidBeginEditingNotification",
               "UITextViewTextDidEndEditingNotification", "UITextViewTextDidChangeNotification"}),
          m_textView(textView) {}

private:
    bool shouldBeginEditing() override {
        auto delegate = m_textView.delegate();
        return !delegate || delegate->textViewShouldBeginEditing(m_textView);
    }
    void didBeginEditing() override {
        m_textView.scrollToCaret();
        if (auto delegate = m_textView.delegate()) {
            delegate->textViewDidBeginEditing(m_textView);
        }
    }
    bool shouldEndEditing() override {
        auto delegate = m_textView.delegate();
        return !delegate || delegate->textViewShouldEndEditing(m_textView);
    }
    void didEndEditing() override {
        if (auto delegate = m_textView.delegate()) {
            delegate->textViewDidEndEditing(m_textView);
        }
    }
    bool shouldChangeText(TextRange range, const std::string& replacement) override {
        auto delegate = m_textView.delegate();
        return !delegate || delegate->shouldChangeTextInRange(m_textView, range, replacement);
    }
    void didChangeText() override {
        // Measuring takes time in proportion to the whole text: a run of typed keys is
        // measured once, when it ends, as the phone lays text out once per turn of its loop.
        if (isTypingRun()) {
            m_contentSizeStale = true;
        } else {
            m_textView.updateContentSize();
            m_textView.scrollToCaret();
        }
        if (auto delegate = m_textView.delegate()) {
            delegate->textViewDidChange(m_textView);
        }
    }
    void didFinishTyping() override {
        if (m_contentSizeStale) {
            m_contentSizeStale = false;
            m_textView.updateContentSize();
            m_textView.scrollToCaret();
        }
    }
    void deleteBackwardOnEmptyText() override {
        // The phone still asks about deleting nothing (an empty range at 0).
        if (auto delegate = m_textView.delegate()) {
            delegate->shouldChangeTextInRange(m_textView, TextRange{0, 0}, "");
        }
    }

    TextView& m_textView;
    bool m_contentSizeStale{false};
};

TextView::TextView() : m_editing(std::make_unique<Editing>(*this)) {
    setBackgroundColor(Color::white());
}

TextView::TextView(const Rect& frame)
    : ScrollView(frame), m_editing(std::make_unique<Editing>(*this)) {
    setBackgroundColor(Color::white());
    updateContentSize();
}

TextView::~TextView() = default;

void TextView::setText(std::string text) {
    setDisplayed(m_text, std::move(text));
    m_editing->textWasSet();
    updateContentSize();
}

void TextView::setFont(const Font& font) {
    setDisplayed(m_font, font);
    updateContentSize();
}

void TextView::setFrame(const Rect& frame) {
    Size old = bounds().size;
    ScrollView::setFrame(frame);
    if (!(old == bounds().size)) {
        updateContentSize();
    }
}

void TextView::setBounds(const Rect& bounds) {
    Size old = this->bounds().size;
    ScrollView::setBounds(bounds);
    if (!(old == bounds.size)) {
        updateContentSize();
    }
}

void TextView::updateContentSize() {
    double width = bounds().size.width;
    double textHeight =
        m_text.empty()
            ? 0
            : TextMeasurer::current().boundingSize(m_text, m_font, {wrapWidth(), 0}).height;
    // A caret on a line of its own after a final line feed is part of the content, so the
    // view can scroll to it.
    if (!m_text.empty() && m_text.back() == '\n') {
        textHeight = std::max(textHeight, caretRect().maxY() - m_textInsets.top);
    }
    setContentSize(Size{width, textHeight + m_textInsets.top + m_textInsets.bottom});
}

void TextView::setTextInsets(const EdgeInsets& insets) {
    setDisplayed(m_textInsets, insets);
    updateContentSize();
}

Rect TextView::textRect() const {
    const Size content = contentSize();
    return Rect{{m_textInsets.left, m_textInsets.top},
                {std::max(0.0, content.width - m_textInsets.left - m_textInsets.right),
                 std::max(0.0, content.height - m_textInsets.top - m_textInsets.bottom)}};
}

double TextView::wrapWidth() const {
    return std::max(0.0, bounds().size.width - m_textInsets.left - m_textInsets.right);
}

Rect TextView::caretRect() const {
    Rect text = textRect();
    // Wrapped at the width the text is drawn in, whatever the content's height.
    text.size.width = wrapWidth();
    return caretRectInText(m_text, insertionPoint(), m_font, text, m_textAlignment);
}

void TextView::scrollToCaret() {
    if (!isEditing()) {
        return;
    }
    Rect shown = caretRect();
    shown.origin.y -= m_textInsets.top;
    shown.size.height += m_textInsets.top + m_textInsets.bottom;
    scrollRectToVisible(shown, false);
}

std::size_t TextView::insertionPoint() const {
    return m_editing->insertionPoint();
}

void TextView::setInsertionPoint(std::size_t index) {
    m_editing->setInsertionPoint(index);
    scrollToCaret();
}

void TextView::setEditable(bool editable) {
    m_editable = editable;
    if (!editable && isFirstResponder()) {
        resignFirstResponder();
    }
}

bool TextView::isEditing() const {
    return m_editing->isEditing();
}

bool TextView::canBecomeFirstResponder() const {
    return m_editable && !isHidden();
}

bool TextView::becomeFirstResponder() {
    return m_editing->begin();
}

bool TextView::resignFirstResponder() {
    return m_editing->resign();
}

bool TextView::typeText(const std::string& text) {
    return m_editing->typeText(text);
}

bool TextView::replaceText(TextRange range, const std::string& replacement) {
    return m_editing->replace(range, replacement);
}

bool TextView::deleteBackward() {
    return m_editing->deleteBackward();
}

void TextView::touchesBegan(const Touches& touches) {
    if (!m_editable) {
        ScrollView::touchesBegan(touches);
    }
}

void TextView::touchesEnded(const Touches& touches) {
    auto self = weak_from_this().lock();
    bool inside = !touches.empty() && pointInside(touches.front().locationInView(this));
    if (!m_editable) {
        ScrollView::touchesEnded(touches);
        return;
    }
    if (!inside || !becomeFirstResponder()) {
        return;
    }
    // The caret goes where the finger is (the content scrolls with the bounds' origin).
    const Point at = touches.front().locationInView(this);
    Rect text = textRect();
    text.size.width = wrapWidth();
    setInsertionPoint(caretIndexInText(m_text, m_font, text, m_textAlignment, at));
}

void TextView::draw(BitmapContext& context, const Rect& /*rect*/) {
    // The text lies in the content, which scrolls with the bounds origin.
    if (!m_text.empty()) {
        context.drawText(m_text, m_font, m_textColor, textRect(), m_textAlignment, 0);
    }
    if (isEditing()) {
        drawCaret(context, caretRect(), tintColor());
    }
}

std::string TextView::describe() const {
    std::string text = "text view \"" + m_text + "\"";
    if (isEditing()) {
        text += " (editing)";
    } else if (!m_editable) {
        text += " (read only)";
    }
    return text;
}

}  // namespace platform
