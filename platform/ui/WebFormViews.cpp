#include "platform/ui/WebFormViews.h"

#include <algorithm>

#include "platform/foundation/TextRange.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "platform/ui/Button.h"
#include "platform/ui/Caret.h"
#include "platform/ui/KeyboardFormBar.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextFieldDelegate.h"
#include "platform/ui/TextView.h"
#include "platform/ui/TextViewDelegate.h"

namespace platform {

namespace {

using Item = PageItem;

// How the layout's default style sheet draws a field's text (HtmlDefaultStyle: 15px, black,
// the placeholder grey). The layout gives the field its box, and the field's view, standing
// over the box's content, draws the text and the caret from one line layout: a one-line
// field scrolls its text sideways to show the caret, a text area wraps it and scrolls down.
constexpr double kFieldFontSize = 15;
const Color kFieldTextColor = Color::rgba(0, 0, 0);
const Color kPlaceholderColor = Color::rgba(0xa9 / 255.0f, 0xa9 / 255.0f, 0xa9 / 255.0f);

Font fieldFont() {
    return Font::systemFont(kFieldFontSize);
}

// What of a replacement fits a field of at most `limit` UTF-16 units when it takes `range`
// of `text`: its first whole composed characters, as a browser cuts a paste (-1: no limit).
std::string fittingReplacement(const std::string& text, TextRange range,
                               const std::string& replacement, int limit) {
    if (limit < 0) {
        return replacement;
    }
    const std::size_t kept = utf16Length(text) - std::min(range.length, utf16Length(text));
    std::string fitting;
    std::size_t length = kept;
    for (const std::string& character : composedCharacters(replacement)) {
        const std::size_t units = utf16Length(character);
        if (length + units > std::size_t(limit)) {
            break;
        }
        length += units;
        fitting += character;
    }
    return fitting;
}

std::string inQuotes(std::string_view text) {
    std::string out = "\"";
    out += text;
    out += '"';
    return out;
}

KeyboardType keyboardFor(const std::string& control) {
    if (control == "email") {
        return KeyboardType::EmailAddress;
    }
    if (control == "number") {
        return KeyboardType::NumbersAndPunctuation;
    }
    if (control == "tel") {
        return KeyboardType::PhonePad;
    }
    if (control == "url") {
        return KeyboardType::URL;
    }
    return control == "search" ? KeyboardType::WebSearch : KeyboardType::Default;
}

// What the outline calls a control: its name, else its id.
std::string shownName(const Item& item) {
    return !item.name.empty() || item.id.empty() ? item.name : "#" + item.id;
}

// Names the view after the element, so that the outline gives it the same handle on every
// screen: its id, else (but for radio buttons, which share theirs) its name.
void nameAfter(View& view, const Item& item) {
    if (!item.id.empty()) {
        view.setHandle(item.id);
    } else if (!item.name.empty() && item.control != "radio") {
        view.setHandle(item.name);
    }
}

// The form bar's steps, as the web view answers them for the field.
bool canStepFrom(const PageFieldActions& actions, int node, KeyboardFormBar::Step step) {
    return actions.canStep && actions.canStep(node, step == KeyboardFormBar::Step::Next);
}

void stepFrom(const PageFieldActions& actions, int node, KeyboardFormBar::Step step) {
    if (actions.stepped) {
        actions.stepped(node, step == KeyboardFormBar::Step::Next);
    }
}

// A one-line field: text, password, search, email, number, tel, url.
class PageTextField final : public TextField, public KeyboardFormBar {
public:
    PageTextField(const Item& item, PageFieldActions actions)
        : m_node(item.node), m_actions(std::move(actions)) {
        m_delegate = std::make_shared<Delegate>(*this);
        setDelegate(m_delegate);
        addTarget(
            [](Control& control) {
                auto& field = static_cast<PageTextField&>(control);
                if (field.m_actions.edited) {
                    field.m_actions.edited(field.m_node, field.text());
                }
            },
            ControlEvent::EditingChanged);
        setSecureTextEntry(item.control == "password");
        setKeyboardType(keyboardFor(item.control));
        setReturnKeyType(item.control == "search" ? ReturnKeyType::Search : ReturnKeyType::Go);
        setAutocapitalizationType(TextAutocapitalizationType::None);
        setFont(fieldFont());
        setTextColor(kFieldTextColor);
        setPlaceholderColor(kPlaceholderColor);
        nameAfter(*this, item);
        apply(item);
    }

    void setLook(const Font& font, const Color& color) {
        if (!(this->font() == font)) {
            setFont(font);
        }
        if (!(textColor() == color)) {
            setTextColor(color);
        }
    }

    void apply(const Item& item) {
        m_name = shownName(item);
        m_readOnly = item.readOnly;
        m_maxLength = item.maxLength;
        setPlaceholder(item.placeholder);
        setEnabled(!item.disabled);
        if (text() != item.text) {
            setText(item.text);
        }
    }

    bool isReadOnly() const { return m_readOnly; }

    bool canStep(Step step) const override { return canStepFrom(m_actions, m_node, step); }
    void step(Step step) override { stepFrom(m_actions, m_node, step); }

    std::string describe() const override {
        std::string line = isSecureTextEntry() ? "secure field" : "field";
        if (!m_name.empty()) {
            line += ' ';
            line += m_name;
        }
        if (text().empty() && !placeholder().empty()) {
            line += " placeholder ";
            line += inQuotes(placeholder());
        } else {
            line += ' ';
            line += inQuotes(displayedText());
        }
        if (isEditing()) {
            line += " (editing)";
        } else if (!isEnabled()) {
            line += " (disabled)";
        } else if (m_readOnly) {
            line += " (read-only)";
        }
        return line;
    }

    // The page paints the field, its text and its caret; this view only stands over it.
    void draw(BitmapContext& /*context*/, const Rect& /*rect*/) override {}

private:
    class Delegate final : public TextFieldDelegate {
    public:
        explicit Delegate(PageTextField& field) : m_field(field) {}
        // A read-only field is read, not edited: no keyboard, no typing.
        bool textFieldShouldBeginEditing(TextField& /*field*/) override {
            if (m_field.m_readOnly && m_field.m_actions.refused) {
                m_field.m_actions.refused(m_field.m_node);
            }
            return !m_field.m_readOnly;
        }
        bool shouldChangeCharactersInRange(TextField& field, TextRange range,
                                           const std::string& replacement) override {
            if (m_field.m_maxLength < 0 || m_fitting) {
                return true;
            }
            const std::string fitting =
                fittingReplacement(field.text(), range, replacement, m_field.m_maxLength);
            if (fitting == replacement) {
                return true;
            }
            // Past maxlength: what fits goes in in its place (nothing, for a key press).
            if (!fitting.empty()) {
                m_fitting = true;
                field.replaceCharacters(range, fitting);
                m_fitting = false;
            }
            return false;
        }
        void textFieldDidBeginEditing(TextField& /*field*/) override {
            m_field.setNeedsDisplay();
            if (m_field.m_actions.focused) {
                m_field.m_actions.focused(m_field.m_node);
            }
        }
        void textFieldDidEndEditing(TextField& /*field*/) override {
            m_field.setNeedsDisplay();
            if (m_field.m_actions.blurred) {
                m_field.m_actions.blurred(m_field.m_node);
            }
        }
        bool textFieldShouldReturn(TextField& /*field*/) override {
            if (m_field.m_actions.returned) {
                m_field.m_actions.returned(m_field.m_node);
            }
            return true;
        }

    private:
        // The delegate lives exactly as long as its field, which owns it.
        PageTextField& m_field;
        bool m_fitting{false};
    };

    int m_node;
    PageFieldActions m_actions;
    std::string m_name;
    bool m_readOnly{false};
    int m_maxLength{-1};
    std::shared_ptr<Delegate> m_delegate;
};

// A <textarea>.
class PageTextArea final : public TextView, public KeyboardFormBar {
public:
    PageTextArea(const Item& item, PageFieldActions actions)
        : m_node(item.node), m_actions(std::move(actions)) {
        m_delegate = std::make_shared<Delegate>(*this);
        setDelegate(m_delegate);
        setScrollEnabled(false);
        // The layout's field shows through; its text is this view's, within the box.
        setBackgroundColor(Color::clear());
        setClipsToBounds(true);
        setFont(fieldFont());
        // Room at the right for the caret after a line that fills the box.
        setTextInsets(EdgeInsets{0, 0, 0, kCaretWidth});
        nameAfter(*this, item);
        apply(item);
    }

    void setLook(const Font& font, const Color& color) {
        if (!(this->font() == font)) {
            setFont(font);
        }
        // A disabled area's grey is the page's style's (itemTextLook).
        if (!(textColor() == color)) {
            setTextColor(color);
        }
    }

    void apply(const Item& item) {
        m_name = shownName(item);
        m_placeholder = item.placeholder;
        m_disabled = item.disabled;
        m_maxLength = item.maxLength;
        setEditable(!item.disabled && !item.readOnly);
        if (text() != item.text) {
            setText(item.text);
        }
    }

    bool canStep(Step step) const override { return canStepFrom(m_actions, m_node, step); }
    void step(Step step) override { stepFrom(m_actions, m_node, step); }

    std::string describe() const override {
        std::string line = "text area";
        if (!m_name.empty()) {
            line += ' ';
            line += m_name;
        }
        if (text().empty() && !m_placeholder.empty()) {
            line += " placeholder ";
            line += inQuotes(m_placeholder);
        } else {
            line += ' ';
            line += inQuotes(text());
        }
        if (isEditing()) {
            line += " (editing)";
        } else if (m_disabled) {
            line += " (disabled)";
        } else if (!isEditable()) {
            line += " (read-only)";
        }
        return line;
    }

    // The page paints the text area; this view only stands over it.
    void draw(BitmapContext& /*context*/, const Rect& /*rect*/) override {}

private:
    class Delegate final : public TextViewDelegate {
    public:
        explicit Delegate(PageTextArea& area) : m_area(area) {}
        bool shouldChangeTextInRange(TextView& view, TextRange range,
                                     const std::string& replacement) override {
            if (m_area.m_maxLength < 0 || m_fitting) {
                return true;
            }
            const std::string fitting =
                fittingReplacement(view.text(), range, replacement, m_area.m_maxLength);
            if (fitting == replacement) {
                return true;
            }
            if (!fitting.empty()) {
                m_fitting = true;
                view.replaceText(range, fitting);
                m_fitting = false;
            }
            return false;
        }
        void textViewDidBeginEditing(TextView& /*view*/) override {
            m_area.setNeedsDisplay();
            if (m_area.m_actions.focused) {
                m_area.m_actions.focused(m_area.m_node);
            }
        }
        void textViewDidEndEditing(TextView& /*view*/) override {
            m_area.setNeedsDisplay();
            if (m_area.m_actions.blurred) {
                m_area.m_actions.blurred(m_area.m_node);
            }
        }
        void textViewDidChange(TextView& /*view*/) override {
            if (m_area.m_actions.edited) {
                m_area.m_actions.edited(m_area.m_node, m_area.text());
            }
        }

    private:
        PageTextArea& m_area;
        bool m_fitting{false};
    };

    int m_node;
    PageFieldActions m_actions;
    std::string m_name;
    std::string m_placeholder;
    bool m_disabled{false};
    int m_maxLength{-1};
    std::shared_ptr<Delegate> m_delegate;
};

// A checkbox, radio button, select, button or label: a tap hands it to the page.
class PageFormButton final : public Button {
public:
    PageFormButton(const Item& item, PageFieldActions actions) : m_node(item.node) {
        setTitleColor(Color::clear());
        addTarget(
            [tapped = std::move(actions.tapped), node = item.node](Control&) {
                if (tapped) {
                    tapped(node);
                }
            },
            ControlEvent::TouchUpInside);
        nameAfter(*this, item);
        apply(item);
    }

    void apply(const Item& item) {
        m_label = item.kind == Item::Kind::Label;
        m_control = item.control;
        m_name = shownName(item);
        m_checked = item.checked;
        m_value = item.text;
        setEnabled(!item.disabled);
        // Found by what a user reads on it; a box to tick reads nothing (its label does).
        const bool toggle = !m_label && (m_control == "checkbox" || m_control == "radio");
        setTitle(toggle ? "" : item.text);
    }

    std::string describe() const override {
        std::string line = m_label ? "label" : m_control;
        if (!m_label &&
            (m_control == "checkbox" || m_control == "radio" || m_control == "select" ||
             m_control == "file") &&
            !m_name.empty()) {
            line += ' ';
            line += m_name;
        }
        line += ' ';
        line += inQuotes(m_value);
        if (m_checked) {
            line += " (checked)";
        }
        if (!isEnabled()) {
            line += " (disabled)";
        }
        return line;
    }

    void draw(BitmapContext& /*context*/, const Rect& /*rect*/) override {}

private:
    int m_node;
    bool m_label{false};
    std::string m_control;
    std::string m_name;
    std::string m_value;
    bool m_checked{false};
};

// A file field is tapped, not typed into: its tap opens the picker, and it shows the names of
// the files chosen.
bool isTextControl(const Item& item) {
    return item.kind == Item::Kind::Field && item.control != "textarea" &&
           item.control != "checkbox" && item.control != "radio" && item.control != "select" &&
           item.control != "file" && item.control != "submit" && item.control != "reset" &&
           item.control != "button";
}

}  // namespace

std::shared_ptr<View> makeFormControlView(const Item& item, PageFieldActions actions) {
    if (isTextControl(item)) {
        return View::make<PageTextField>(item, std::move(actions));
    }
    if (item.kind == Item::Kind::Field && item.control == "textarea") {
        return View::make<PageTextArea>(item, std::move(actions));
    }
    return View::make<PageFormButton>(item, std::move(actions));
}

bool updateFormControlView(View& view, const Item& item) {
    if (isTextControl(item)) {
        auto* field = dynamic_cast<PageTextField*>(&view);
        if (field) {
            field->apply(item);
        }
        return field != nullptr;
    }
    if (item.kind == Item::Kind::Field && item.control == "textarea") {
        auto* area = dynamic_cast<PageTextArea*>(&view);
        if (area) {
            area->apply(item);
        }
        return area != nullptr;
    }
    auto* button = dynamic_cast<PageFormButton*>(&view);
    if (button) {
        button->apply(item);
    }
    return button != nullptr;
}

void styleFormControlView(View& view, const RunFont& runFont, const Color& color) {
    Font font = fieldFont();
    font.family = runFont.families;
    font.pointSize = runFont.size > 0 ? runFont.size : kFieldFontSize;
    font.bold = runFont.weight >= 600;
    if (auto* field = dynamic_cast<PageTextField*>(&view)) {
        field->setLook(font, color);
    } else if (auto* area = dynamic_cast<PageTextArea*>(&view)) {
        area->setLook(font, color);
    }
}

bool isEditingFormControl(const View& view) {
    if (const auto* field = dynamic_cast<const PageTextField*>(&view)) {
        return field->isEditing();
    }
    if (const auto* area = dynamic_cast<const PageTextArea*>(&view)) {
        return area->isEditing();
    }
    return false;
}

bool isEditableFormControl(const View& view) {
    if (const auto* field = dynamic_cast<const PageTextField*>(&view)) {
        return field->isEnabled() && !field->isReadOnly();
    }
    if (const auto* area = dynamic_cast<const PageTextArea*>(&view)) {
        return area->isEditable();
    }
    return false;
}

bool focusFormControl(View& view) {
    if (dynamic_cast<PageTextField*>(&view) || dynamic_cast<PageTextArea*>(&view)) {
        return view.becomeFirstResponder();
    }
    return false;
}

}  // namespace platform
