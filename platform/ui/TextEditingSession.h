#pragma once

#include <string>

#include "platform/ui/TextRange.h"

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

private:
    bool applyChange(TextRange range, const std::string& replacement);
    void finish();

    View& m_input;
    std::string& m_text;
    Notifications m_notifications;
    bool m_editing{false};
};

}  // namespace platform
