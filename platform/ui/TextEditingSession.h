#pragma once

#include <optional>
#include <string>

#include "platform/foundation/TextRange.h"

namespace platform {

class View;

// The editing life of a text input (TextField, TextView), which owns one: becoming first
// responder with the delegate's leave and the keyboard handed over, ending editing (also
// when first responder was taken away without asking), and typing one key press at a time
// through the delegate. The input says what its delegate answers and what it does itself at
// each step by overriding the hooks below.
class TextEditingSession {
public:
    // The notifications the input posts on the default centre.
    struct Notifications {
        const char* didBeginEditing;
        const char* didEndEditing;
        const char* didChange;
    };

    // `input` and `text` belong to the input that owns the session.
    TextEditingSession(View& input, std::string& text, Notifications notifications);
    virtual ~TextEditingSession() = default;
    TextEditingSession(const TextEditingSession&) = delete;
    TextEditingSession& operator=(const TextEditingSession&) = delete;

    bool isEditing() const;
    // The input's becomeFirstResponder and resignFirstResponder.
    bool begin();
    bool resign();
    // Begins editing unless it already is; false when the input would not begin.
    bool ensureEditing();

    // What a user does with the keyboard; each begins editing first if needed.
    bool typeText(const std::string& text);
    bool replace(TextRange range, const std::string& replacement);
    bool deleteBackward();

    // The input has set its text itself (not through typing): what the session knows of the
    // text is counted afresh, and the insertion point goes to the end, as the phone puts it.
    void textWasSet() {
        m_lengthKnown = false;
        m_insertion.reset();
    }

    // Where typing goes and the caret stands, in UTF-16 units: the end of the text until a
    // finger (or the input) puts it elsewhere; after each change, just past what was put in.
    std::size_t insertionPoint();
    // Clamped to the text; the input is drawn again.
    void setInsertionPoint(std::size_t index);

protected:
    virtual bool shouldBeginEditing() = 0;
    // The input has become first responder: its own steps and the delegate's did-begin.
    virtual void didBeginEditing() = 0;
    virtual bool shouldEndEditing() = 0;
    virtual void didEndEditing() = 0;
    virtual bool shouldChangeText(TextRange range, const std::string& replacement) = 0;
    // The text has changed through typing.
    virtual void didChangeText() = 0;
    // A typed character that does something other than insert itself; true when handled.
    virtual bool handleKey(const std::string& /*character*/) { return false; }
    // The delete key pressed on empty text.
    virtual void deleteBackwardOnEmptyText() {}
    // A run of typed text (typeText) has ended; didChangeText was called for each key of it.
    virtual void didFinishTyping() {}
    // True while typeText delivers its keys, so an input may leave costly work (measuring the
    // whole text) to didFinishTyping instead of doing it for every key.
    bool isTypingRun() const { return m_typingRun; }

private:
    bool applyChange(TextRange range, const std::string& replacement);
    void finish();
    // The text's length in UTF-16 units. Counted once, then kept up to date by the session's
    // own appends, so typing a long text costs time in proportion to its length; counted
    // again after the input set its text or when the text's size is not the one last seen.
    std::size_t textLength();

    View& m_input;
    std::string& m_text;
    Notifications m_notifications;
    bool m_editing{false};
    bool m_typingRun{false};
    bool m_lengthKnown{false};
    std::size_t m_length{0};
    std::size_t m_lengthBytes{0};
    // Empty while it follows the end of the text, so typing at the end never counts it.
    std::optional<std::size_t> m_insertion;
};

}  // namespace platform
