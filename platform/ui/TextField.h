#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/TextRange.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Control.h"
#include "platform/ui/TextInputTraits.h"

namespace platform {

class TextFieldDelegate;

enum class TextBorderStyle { None, Line, Bezel, RoundedRect };

// When a field shows its left or right view, or its clear button.
enum class TextFieldViewMode { Never, WhileEditing, UnlessEditing, Always };

// The phone's UITextField: one line of editable text with a placeholder, optional left and
// right views, and a delegate (not owned) that may refuse each step of editing.
//
// Editing is being first responder: becomeFirstResponder asks the delegate, then the field
// sends EditingDidBegin and the keyboard shows; resigning asks the delegate again, then
// EditingDidEnd and the keyboard hides. A tap on the field begins editing. Setting text in
// code sends nothing, as on the phone; typing (typeText, deleteBackward) goes through
// shouldChangeCharactersInRange one key press at a time and sends EditingChanged and the
// notification "UITextFieldTextDidChangeNotification" for each accepted change.
class TextField : public Control {
public:
    TextField();
    explicit TextField(const Rect& frame);
    ~TextField() override;

    // --- Content ------------------------------------------------------------------------
    const std::string& text() const { return m_text; }
    void setText(std::string text);
    const std::string& placeholder() const { return m_placeholder; }
    void setPlaceholder(std::string placeholder);
    // The placeholder's colour and font (the phone's "_placeholderLabel.textColor" and
    // "_placeholderLabel.font" key paths). The font follows the field's font until set.
    const Color& placeholderColor() const { return m_placeholderColor; }
    void setPlaceholderColor(const Color& color) { setDisplayed(m_placeholderColor, color); }
    Font placeholderFont() const { return m_placeholderFont.value_or(m_font); }
    void setPlaceholderFont(const Font& font) { setDisplayed(m_placeholderFont, font); }
    // What the field shows of its text: the text, or one bullet per character when secure.
    std::string displayedText() const;

    // --- Appearance ---------------------------------------------------------------------
    const Font& font() const { return m_font; }
    void setFont(const Font& font) { setDisplayed(m_font, font); }
    const Color& textColor() const { return m_textColor; }
    void setTextColor(const Color& color) { setDisplayed(m_textColor, color); }
    TextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(TextAlignment alignment) { setDisplayed(m_textAlignment, alignment); }
    TextBorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(TextBorderStyle style) { setDisplayed(m_borderStyle, style); }

    // --- Input traits -------------------------------------------------------------------
    bool isSecureTextEntry() const { return m_secureTextEntry; }
    void setSecureTextEntry(bool secure) { setDisplayed(m_secureTextEntry, secure); }
    KeyboardType keyboardType() const { return m_keyboardType; }
    void setKeyboardType(KeyboardType type) { m_keyboardType = type; }
    ReturnKeyType returnKeyType() const { return m_returnKeyType; }
    void setReturnKeyType(ReturnKeyType type) { m_returnKeyType = type; }
    TextAutocapitalizationType autocapitalizationType() const { return m_autocapitalization; }
    void setAutocapitalizationType(TextAutocapitalizationType type) { m_autocapitalization = type; }
    TextFieldViewMode clearButtonMode() const { return m_clearButtonMode; }
    void setClearButtonMode(TextFieldViewMode mode) { setDisplayed(m_clearButtonMode, mode); }
    bool clearsOnBeginEditing() const { return m_clearsOnBeginEditing; }
    void setClearsOnBeginEditing(bool clears) { m_clearsOnBeginEditing = clears; }

    // --- Overlay views (subviews of the field while their mode shows them) --------------
    std::shared_ptr<View> leftView() const { return m_leftView; }
    void setLeftView(std::shared_ptr<View> view);
    TextFieldViewMode leftViewMode() const { return m_leftViewMode; }
    void setLeftViewMode(TextFieldViewMode mode);
    std::shared_ptr<View> rightView() const { return m_rightView; }
    void setRightView(std::shared_ptr<View> view);
    TextFieldViewMode rightViewMode() const { return m_rightViewMode; }
    void setRightViewMode(TextFieldViewMode mode);
    bool isClearButtonShown() const;

    std::shared_ptr<TextFieldDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<TextFieldDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    // --- Editing ------------------------------------------------------------------------
    bool isEditing() const;
    bool canBecomeFirstResponder() const override;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    // What a user does with the keyboard, for the UI driver and tests. Each begins editing
    // first if needed and returns false when the field would not begin.
    // Types the text one composed character at a time at the end of the text; a line feed
    // presses the return key (a field holds one line).
    bool typeText(const std::string& text);
    // Replaces a range (in UTF-16 units), as pasting over a selection does; false when the
    // range lies outside the text or the delegate refuses.
    bool replaceCharacters(TextRange range, const std::string& replacement);
    // The delete key: removes the last composed character; false on empty text or refusal.
    bool deleteBackward();
    // The return key: asks textFieldShouldReturn; when it agrees, sends EditingDidEndOnExit
    // (and, as on the phone, a field with an action for that event then ends editing).
    // Inserts nothing. Returns the delegate's answer.
    bool pressReturn();
    // The clear button: asks textFieldShouldClear, then empties the text.
    bool pressClearButton();
    // Where typing goes and the caret stands while editing (UTF-16 units): the end of the
    // text when editing begins or the text is set, else where a tap on the edited field put
    // it. Clamped to the text.
    std::size_t insertionPoint() const;
    void setInsertionPoint(std::size_t index);

    // --- Layout and drawing -------------------------------------------------------------
    Rect textRectForBounds(const Rect& bounds) const;
    Rect leftViewRectForBounds(const Rect& bounds) const;
    Rect rightViewRectForBounds(const Rect& bounds) const;
    void layoutSubviews() override;
    void touchesEnded(const Touches& touches) override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;

private:
    class Editing;

    bool shows(TextFieldViewMode mode) const;
    void updateOverlayViews();
    // The line the text is drawn on within the text rect.
    Rect lineRect(const Rect& textRect, const Font& font) const;
    // Where drawText draws the edited text: the line itself while the text fits it, else a
    // line of unlimited width moved left by the scroll that keeps the caret in view.
    Rect editedTextRect(const Rect& line);
    // The insertion point in what the field shows (a bullet per character when secure).
    std::size_t shownInsertionPoint() const;

    std::string m_text;
    std::string m_placeholder;
    Color m_placeholderColor{Color::rgba(0, 0, 0.1f, 0.22f)};
    std::optional<Font> m_placeholderFont;
    Font m_font{Font::systemFont(17)};
    Color m_textColor{Color::black()};
    TextAlignment m_textAlignment{TextAlignment::Left};
    TextBorderStyle m_borderStyle{TextBorderStyle::None};
    bool m_secureTextEntry{false};
    KeyboardType m_keyboardType{KeyboardType::Default};
    ReturnKeyType m_returnKeyType{ReturnKeyType::Default};
    TextAutocapitalizationType m_autocapitalization{TextAutocapitalizationType::Sentences};
    TextFieldViewMode m_clearButtonMode{TextFieldViewMode::Never};
    bool m_clearsOnBeginEditing{false};
    std::shared_ptr<View> m_leftView;
    TextFieldViewMode m_leftViewMode{TextFieldViewMode::Never};
    std::shared_ptr<View> m_rightView;
    TextFieldViewMode m_rightViewMode{TextFieldViewMode::Never};
    std::weak_ptr<TextFieldDelegate> m_delegate;
    // How far the edited text is moved left so the caret shows; 0 while it fits.
    double m_scroll{0};
    // Made by the constructors; lives as long as the field.
    std::unique_ptr<Editing> m_editing;
};

}  // namespace platform
