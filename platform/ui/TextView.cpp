#include "platform/ui/TextView.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/TextViewDelegate.h"

namespace platform {

TextView::TextView() {
    setBackgroundColor(Color::white());
}

TextView::TextView(const Rect& frame) : ScrollView(frame) {
    setBackgroundColor(Color::white());
    updateContentSize();
}

TextView::~TextView() = default;

void TextView::setText(std::string text) {
    m_text = std::move(text);
    updateContentSize();
}

void TextView::setFont(const Font& font) {
    m_font = font;
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
        m_text.empty() ? 0
                       : TextMeasurer::current()
                             .boundingSize(m_text, m_font, {std::max(0.0, width - kInset - 2), 0})
                             .height;
    setContentSize(Size{width, textHeight + 2 * kInset});
}

void TextView::setEditable(bool editable) {
    m_editable = editable;
    if (!editable && isFirstResponder()) {
        resignFirstResponder();
    }
}

bool TextView::isEditing() const {
    return m_editing && isFirstResponder();
}

bool TextView::canBecomeFirstResponder() const {
    return m_editable && !isHidden();
}

bool TextView::becomeFirstResponder() {
    if (isFirstResponder()) {
        return true;
    }
    if (!canBecomeFirstResponder()) {
        return false;
    }
    auto self = weak_from_this().lock();
    if (!self) {
        return false;  // only views owned by a shared_ptr take part in the responder chain
    }
    if (auto delegate = this->delegate();
        delegate && !delegate->textViewShouldBeginEditing(*this)) {
        return false;
    }
    Keyboard::Handoff handoff;
    if (!ScrollView::becomeFirstResponder()) {
        return false;
    }
    m_editing = true;
    if (auto delegate = this->delegate()) {
        delegate->textViewDidBeginEditing(*this);
    }
    NotificationCenter::defaultCenter().post("UITextViewTextDidBeginEditingNotification");
    if (isFirstResponder()) {
        Keyboard::editingBegan(self);
    }
    return true;
}

bool TextView::resignFirstResponder() {
    if (!isFirstResponder()) {
        if (m_editing) {
            finishEditing();
        }
        return true;
    }
    auto self = weak_from_this().lock();
    if (auto delegate = this->delegate(); delegate && !delegate->textViewShouldEndEditing(*this)) {
        // As for TextField: a forced end of editing is caught up with afterwards.
        RunLoop::main().post([weak = weak_from_this()] {
            if (auto view = weak.lock()) {
                auto* textView = static_cast<TextView*>(view.get());
                if (textView->m_editing && !textView->isFirstResponder()) {
                    textView->finishEditing();
                }
            }
        });
        return false;
    }
    ScrollView::resignFirstResponder();
    finishEditing();
    return true;
}

void TextView::finishEditing() {
    if (!m_editing) {
        return;
    }
    m_editing = false;
    if (auto delegate = this->delegate()) {
        delegate->textViewDidEndEditing(*this);
    }
    NotificationCenter::defaultCenter().post("UITextViewTextDidEndEditingNotification");
    Keyboard::editingEnded(this);
}

bool TextView::applyChange(TextRange range, const std::string& replacement) {
    if (!replacingTextRange(m_text, range, replacement)) {
        return false;
    }
    if (auto delegate = this->delegate();
        delegate && !delegate->shouldChangeTextInRange(*this, range, replacement)) {
        return false;
    }
    auto changed = replacingTextRange(m_text, range, replacement);
    if (!changed) {
        return false;
    }
    m_text = std::move(*changed);
    updateContentSize();
    if (auto delegate = this->delegate()) {
        delegate->textViewDidChange(*this);
    }
    NotificationCenter::defaultCenter().post("UITextViewTextDidChangeNotification");
    return true;
}

bool TextView::typeText(const std::string& text) {
    auto self = weak_from_this().lock();
    if (!isFirstResponder() && !becomeFirstResponder()) {
        return false;
    }
    for (const auto& character : composedCharacters(text)) {
        if (!isFirstResponder()) {
            break;
        }
        applyChange(TextRange{utf16Length(m_text), 0}, character);
    }
    return true;
}

bool TextView::replaceText(TextRange range, const std::string& replacement) {
    auto self = weak_from_this().lock();
    if (!isFirstResponder() && !becomeFirstResponder()) {
        return false;
    }
    return applyChange(range, replacement);
}

bool TextView::deleteBackward() {
    auto self = weak_from_this().lock();
    if (!isFirstResponder() && !becomeFirstResponder()) {
        return false;
    }
    if (m_text.empty()) {
        // The phone still asks about deleting nothing (an empty range at 0).
        if (auto delegate = this->delegate()) {
            delegate->shouldChangeTextInRange(*this, TextRange{0, 0}, "");
        }
        return false;
    }
    return applyChange(lastComposedCharacterRange(m_text), "");
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
    if (inside) {
        becomeFirstResponder();
    }
}

void TextView::draw(BitmapContext& context, const Rect& /*rect*/) {
    if (m_text.empty()) {
        return;
    }
    // The text lies in the content, which scrolls with the bounds origin.
    Rect content{{0, 0}, contentSize()};
    Rect textRect = content.insetBy(kInset / 2 + 1, kInset);
    context.drawText(m_text, m_font, m_textColor, textRect, m_textAlignment, 0);
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
