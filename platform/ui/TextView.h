#pragma once

#include <memory>
#include <string>

#include "platform/foundation/TextRange.h"
#include "platform/graphics/Font.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextInputTraits.h"

namespace platform {

class TextViewDelegate;

// The phone's UITextView: a scroll view of several lines of text, editable unless switched
// off, with a delegate (not owned); the content size follows the text. Editing is being first
// responder, as for TextField: beginning asks textViewShouldBeginEditing and shows the keyboard;
// ending asks textViewShouldEndEditing and hides it. Setting text in code tells no one; typing goes
// through shouldChangeTextInRange one key press at a time (a line feed is typed like any
// character), then textViewDidChange and the notification "UITextViewTextDidChangeNotification".
class TextView : public ScrollView {
public:
    TextView();
    explicit TextView(const Rect& frame);
    ~TextView() override;

    const std::string& text() const { return m_text; }
    void setText(std::string text);
    const Font& font() const { return m_font; }
    void setFont(const Font& font);
    const Color& textColor() const { return m_textColor; }
    void setTextColor(const Color& color) { setDisplayed(m_textColor, color); }
    TextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(TextAlignment alignment) { setDisplayed(m_textAlignment, alignment); }
    bool isEditable() const { return m_editable; }
    // A text view that stops being editable while edited ends editing.
    void setEditable(bool editable);
    bool isSelectable() const { return m_selectable; }
    void setSelectable(bool selectable) { m_selectable = selectable; }
    KeyboardType keyboardType() const { return m_keyboardType; }
    void setKeyboardType(KeyboardType type) { m_keyboardType = type; }
    ReturnKeyType returnKeyType() const { return m_returnKeyType; }
    void setReturnKeyType(ReturnKeyType type) { m_returnKeyType = type; }

    std::shared_ptr<TextViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<TextViewDelegate> delegate) { m_delegate = std::move(delegate); }

    bool isEditing() const;
    bool canBecomeFirstResponder() const override;
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;

    // What a user does with the keyboard, for the UI driver and tests; each begins editing
    // first if needed and returns false when the view would not begin.
    bool typeText(const std::string& text);
    bool replaceText(TextRange range, const std::string& replacement);
    bool deleteBackward();
    // Where typing goes and the caret stands while editing (UTF-16 units): the end of the
    // text until a tap or this puts it elsewhere; setting the text puts it back at the end.
    // The view scrolls to show the caret.
    std::size_t insertionPoint() const;
    void setInsertionPoint(std::size_t index);

    // An editable text view takes taps itself (a tap begins editing); a read-only one passes
    // them on.
    void touchesBegan(const Touches& touches) override;
    void touchesEnded(const Touches& touches) override;
    void draw(BitmapContext& context, const Rect& rect) override;
    std::string describe() const override;

    // Space between the bounds and the text (the phone's textContainerInset, with its line
    // padding at each side): by default kInset above and below, and kInset / 2 + 1 at the sides.
    static constexpr double kInset = 8;
    const EdgeInsets& textInsets() const { return m_textInsets; }
    void setTextInsets(const EdgeInsets& insets);

    void setFrame(const Rect& frame) override;
    void setBounds(const Rect& bounds) override;

protected:
    // Where the text is drawn, in content coordinates, and how wide it wraps.
    Rect textRect() const;
    double wrapWidth() const;

private:
    class Editing;

    void updateContentSize();
    // The caret's bar in content coordinates.
    Rect caretRect() const;
    // Scrolls as little as possible to show the caret with the inset around it.
    void scrollToCaret();

    std::string m_text;
    Font m_font{Font::systemFont(12)};
    Color m_textColor{Color::black()};
    TextAlignment m_textAlignment{TextAlignment::Left};
    bool m_editable{true};
    bool m_selectable{true};
    KeyboardType m_keyboardType{KeyboardType::Default};
    ReturnKeyType m_returnKeyType{ReturnKeyType::Default};
    std::weak_ptr<TextViewDelegate> m_delegate;
    EdgeInsets m_textInsets{kInset, kInset / 2 + 1, kInset, kInset / 2 + 1};
    // Made by the constructors; lives as long as the text view.
    std::unique_ptr<Editing> m_editing;
};

}  // namespace platform
