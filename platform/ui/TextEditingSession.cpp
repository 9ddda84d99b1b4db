#include "platform/ui/TextEditingSession.h"

#include <algorithm>
#include <memory>

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/View.h"

namespace platform {

TextEditingSession::TextEditingSession(View& input, std::string& text, Notifications notifications)
    : m_input(input), m_text(text), m_notifications(notifications) {}

bool TextEditingSession::isEditing() const {
    return m_editing && m_input.isFirstResponder();
}

bool TextEditingSession::begin() {
    if (m_input.isFirstResponder()) {
        return true;
    }
    if (!m_input.canBecomeFirstResponder()) {
        return false;
    }
    auto self = m_input.weak_from_this().lock();
    if (!self) {
        return false;  // only views owned by a shared_ptr take part in the responder chain
    }
    if (!shouldBeginEditing()) {
        return false;
    }
    // The input that held the keyboard resigns inside View::becomeFirstResponder; the
    // keyboard stays up for this one. (The inputs' own base classes leave becoming first
    // responder to View.)
    Keyboard::Handoff handoff;
    if (!m_input.View::becomeFirstResponder()) {
        return false;
    }
    m_editing = true;
    didBeginEditing();
    NotificationCenter::defaultCenter().post(m_notifications.didBeginEditing);
    if (m_input.isFirstResponder()) {
        Keyboard::editingBegan(self);
    }
    return true;
}

bool TextEditingSession::resign() {
    if (!m_input.isFirstResponder()) {
        if (m_editing) {
            finish();
        }
        return true;
    }
    auto self = m_input.weak_from_this().lock();
    if (!shouldEndEditing()) {
        // A forced end of editing (View::endEditing(true), an input leaving its window) takes
        // first responder away without asking again; catch up with it once the caller is done.
        // The session lives exactly as long as its input, so it is reached through the input's
        // ownership.
        std::weak_ptr<TextEditingSession> weak = std::shared_ptr<TextEditingSession>(self, this);
        RunLoop::main().post([weak] {
            if (auto session = weak.lock()) {
                if (session->m_editing && !session->m_input.isFirstResponder()) {
                    session->finish();
                }
            }
        });
        return false;
    }
    m_input.View::resignFirstResponder();
    finish();
    return true;
}

void TextEditingSession::finish() {
    if (!m_editing) {
        return;
    }
    m_editing = false;
    didEndEditing();
    NotificationCenter::defaultCenter().post(m_notifications.didEndEditing);
    Keyboard::editingEnded(&m_input);
}

bool TextEditingSession::ensureEditing() {
    return m_input.isFirstResponder() || m_input.becomeFirstResponder();
}

std::size_t TextEditingSession::textLength() {
    if (!m_lengthKnown || m_lengthBytes != m_text.size()) {
        m_length = utf16Length(m_text);
        m_lengthBytes = m_text.size();
        m_lengthKnown = true;
    }
    return m_length;
}

bool TextEditingSession::applyChange(TextRange range, const std::string& replacement) {
    // A key typed at the end of the text (nearly every key) appends without rebuilding the
    // text; any other change is made on the whole text.
    bool appends = range.length == 0 && range.location == textLength();
    if (!appends && !replacingTextRange(m_text, range, replacement)) {
        return false;
    }
    if (!shouldChangeText(range, replacement)) {
        return false;
    }
    // The delegate may have set the text itself before agreeing.
    const std::size_t inserted = utf16Length(replacement);
    if (appends && range.location == textLength()) {
        m_text += replacement;
        m_length += inserted;
        m_lengthBytes = m_text.size();
        if (m_insertion) {
            m_insertion = m_length;
        }
    } else {
        auto changed = replacingTextRange(m_text, range, replacement);
        if (!changed) {
            return false;
        }
        m_text = std::move(*changed);
        m_lengthKnown = false;
        m_insertion = range.location + inserted;
    }
    m_input.setNeedsDisplay();
    didChangeText();
    NotificationCenter::defaultCenter().post(m_notifications.didChange);
    return true;
}

bool TextEditingSession::typeText(const std::string& text) {
    auto self = m_input.weak_from_this().lock();
    if (!ensureEditing()) {
        return false;
    }
    m_typingRun = true;
    // Ends the run however the loop is left (a delegate may throw).
    struct EndOfRun {
        bool& typingRun;
        ~EndOfRun() { typingRun = false; }
    } endOfRun{m_typingRun};
    for (const auto& character : composedCharacters(text)) {
        // Keys pressed after the input stopped editing go nowhere.
        if (!m_input.isFirstResponder()) {
            break;
        }
        if (!handleKey(character)) {
            applyChange(TextRange{insertionPoint(), 0}, character);
        }
    }
    m_typingRun = false;
    didFinishTyping();
    return true;
}

bool TextEditingSession::replace(TextRange range, const std::string& replacement) {
    auto self = m_input.weak_from_this().lock();
    if (!ensureEditing()) {
        return false;
    }
    return applyChange(range, replacement);
}

bool TextEditingSession::deleteBackward() {
    auto self = m_input.weak_from_this().lock();
    if (!ensureEditing()) {
        return false;
    }
    if (m_text.empty()) {
        deleteBackwardOnEmptyText();
        return false;
    }
    const std::size_t at = insertionPoint();
    if (at == 0) {
        return false;
    }
    return applyChange(composedCharacterRangeBefore(m_text, at), "");
}

std::size_t TextEditingSession::insertionPoint() {
    const std::size_t length = textLength();
    return m_insertion ? std::min(*m_insertion, length) : length;
}

void TextEditingSession::setInsertionPoint(std::size_t index) {
    const std::size_t length = textLength();
    m_insertion = std::min(index, length);
    if (*m_insertion == length) {
        m_insertion.reset();
    }
    m_input.setNeedsDisplay();
}

}  // namespace platform
