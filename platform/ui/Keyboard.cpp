#include "platform/ui/Keyboard.h"

#include "platform/foundation/Json.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/DisplayChanges.h"
#include "platform/ui/KeyboardFormBar.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"

namespace platform {

namespace {

struct KeyboardState {
    bool visible{false};
    std::weak_ptr<View> editor;
    bool inHandoff{false};
    bool hidePending{false};
};

KeyboardState& state() {
    static KeyboardState keyboard;
    return keyboard;
}

Json rectJson(const Rect& rect) {
    return Json::array({rect.origin.x, rect.origin.y, rect.size.width, rect.size.height});
}

const KeyboardFormBar* formBarOf(const View* input) {
    return dynamic_cast<const KeyboardFormBar*>(input);
}

// How tall the keyboard stands for the input: its keys, and the form bar if the input has one.
double heightServing(const View* input) {
    return Keyboard::height() + (formBarOf(input) ? Keyboard::kFormBarHeight : 0);
}

Rect frameServing(const View* input) {
    Size screen = Screen::main().size();
    const double h = heightServing(input);
    return Rect{{0, screen.height - h}, {screen.width, h}};
}

Rect offscreenFrame(const View* input) {
    Size screen = Screen::main().size();
    return Rect{{0, screen.height}, {screen.width, heightServing(input)}};
}

void post(const char* name, const Rect& begin, const Rect& end) {
    Json info = Json::object();
    info["UIKeyboardFrameBeginUserInfoKey"] = rectJson(begin);
    info["UIKeyboardFrameEndUserInfoKey"] = rectJson(end);
    info["UIKeyboardAnimationDurationUserInfoKey"] = Keyboard::kAnimationDuration;
    NotificationCenter::defaultCenter().post(name, info);
}

void hideNow() {
    auto& keyboard = state();
    keyboard.hidePending = false;
    if (!keyboard.visible) {
        return;
    }
    // Announced in the frame it had, its form bar included.
    auto editor = keyboard.editor.lock();
    const Rect shown = frameServing(editor.get());
    const Rect gone = offscreenFrame(editor.get());
    editor.reset();
    keyboard.visible = false;
    keyboard.editor.reset();
    noteDisplayChange();
    post("UIKeyboardWillHideNotification", shown, gone);
    post("UIKeyboardDidHideNotification", shown, gone);
}

}  // namespace

bool Keyboard::isVisible() {
    auto& keyboard = state();
    return keyboard.visible && !keyboard.editor.expired();
}

double Keyboard::height() {
    bool landscape = isLandscape(Screen::main().interfaceOrientation());
    if (Application::shared().userInterfaceIdiom() == UserInterfaceIdiom::Pad) {
        return landscape ? kPadLandscapeHeight : kPadHeight;
    }
    return landscape ? kLandscapeHeight : kHeight;
}

Rect Keyboard::frame() {
    return frameServing(state().editor.lock().get());
}

Rect Keyboard::frame(const View& input) {
    return frameServing(&input);
}

namespace {

ReturnKeyType editorReturnKey() {
    auto editor = state().editor.lock();
    if (auto* field = dynamic_cast<TextField*>(editor.get())) {
        return field->returnKeyType();
    }
    if (auto* textView = dynamic_cast<TextView*>(editor.get())) {
        return textView->returnKeyType();
    }
    return ReturnKeyType::Default;
}

}  // namespace

KeyboardType Keyboard::type() {
    auto editor = state().editor.lock();
    if (auto* field = dynamic_cast<TextField*>(editor.get())) {
        return field->keyboardType();
    }
    if (auto* textView = dynamic_cast<TextView*>(editor.get())) {
        return textView->keyboardType();
    }
    return KeyboardType::Default;
}

namespace {

// The keyboard's parts: the form bar (empty when the input has none) over the keys' area.
struct KeyboardAreas {
    Rect bar;
    Rect keys;
};

KeyboardAreas areas(const View* input) {
    const Rect whole = frameServing(input);
    const double bar = formBarOf(input) ? Keyboard::kFormBarHeight : 0;
    return KeyboardAreas{
        Rect{whole.origin, {whole.size.width, bar}},
        Rect{{whole.minX(), whole.minY() + bar}, {whole.size.width, whole.size.height - bar}}};
}

std::vector<KeyboardKey> formBarKeys(const View* input, const Rect& bar) {
    const auto* formBar = formBarOf(input);
    if (!formBar) {
        return {};
    }
    return layoutFormBarKeys(bar, formBar->canStep(KeyboardFormBar::Step::Previous),
                             formBar->canStep(KeyboardFormBar::Step::Next));
}

}  // namespace

std::vector<KeyboardKey> Keyboard::keys() {
    if (!isVisible()) {
        return {};
    }
    auto editor = state().editor.lock();
    const KeyboardAreas area = areas(editor.get());
    // Top to bottom: the form bar's keys, then the keys that type.
    std::vector<KeyboardKey> keys = formBarKeys(editor.get(), area.bar);
    auto typing = layoutKeyboardKeys(area.keys, editorReturnKey(), type());
    keys.insert(keys.end(), typing.begin(), typing.end());
    return keys;
}

void Keyboard::draw(BitmapContext& context) {
    if (!isVisible()) {
        return;
    }
    auto editor = state().editor.lock();
    const KeyboardAreas area = areas(editor.get());
    if (!area.bar.isEmpty()) {
        drawFormBar(context, area.bar, formBarKeys(editor.get(), area.bar));
    }
    drawKeyboard(context, area.keys, layoutKeyboardKeys(area.keys, editorReturnKey(), type()),
                 editorReturnKey());
}

void Keyboard::press(const KeyboardKey& key) {
    auto editor = state().editor.lock();
    if (!isVisible() || !editor || !key.enabled) {
        return;
    }
    auto* field = dynamic_cast<TextField*>(editor.get());
    auto* textView = dynamic_cast<TextView*>(editor.get());
    switch (key.kind) {
        case KeyboardKey::Kind::Character:
        case KeyboardKey::Kind::Space: {
            const std::string typed = key.kind == KeyboardKey::Kind::Space ? " " : key.title;
            if (field) {
                field->typeText(typed);
            } else if (textView) {
                textView->typeText(typed);
            }
            break;
        }
        case KeyboardKey::Kind::Delete:
            if (field) {
                field->deleteBackward();
            } else if (textView) {
                textView->deleteBackward();
            }
            break;
        case KeyboardKey::Kind::Return:
            if (field) {
                field->pressReturn();
            } else if (textView) {
                textView->typeText("\n");
            }
            break;
        case KeyboardKey::Kind::Previous:
        case KeyboardKey::Kind::Next:
            if (auto* formBar = dynamic_cast<KeyboardFormBar*>(editor.get())) {
                const auto step = key.kind == KeyboardKey::Kind::Previous
                                      ? KeyboardFormBar::Step::Previous
                                      : KeyboardFormBar::Step::Next;
                if (formBar->canStep(step)) {
                    formBar->step(step);
                }
            }
            break;
        case KeyboardKey::Kind::Done:
            // The value stays; the input ends its editing as a tap elsewhere would end it.
            editor->resignFirstResponder();
            break;
    }
}

void Keyboard::interfaceRotated() {
    if (!isVisible()) {
        return;
    }
    post("UIKeyboardWillShowNotification", frame(), frame());
    post("UIKeyboardDidShowNotification", frame(), frame());
}

void Keyboard::editingBegan(const std::shared_ptr<View>& editor) {
    auto& keyboard = state();
    Rect begin = isVisible() ? frame() : offscreenFrame(editor.get());
    keyboard.visible = true;
    keyboard.editor = editor;
    keyboard.hidePending = false;
    // Shown, or shown again with the new input's return key.
    noteDisplayChange();
    post("UIKeyboardWillShowNotification", begin, frame());
    post("UIKeyboardDidShowNotification", begin, frame());
}

void Keyboard::editingEnded(const View* editor) {
    auto& keyboard = state();
    auto current = keyboard.editor.lock();
    // An input that was not the one the keyboard serves (or one that has gone) hides it only
    // if no other input holds it.
    if (current && current.get() != editor) {
        return;
    }
    if (keyboard.inHandoff) {
        keyboard.hidePending = true;
        return;
    }
    hideNow();
}

Keyboard::Handoff::Handoff() {
    auto& keyboard = state();
    if (!keyboard.inHandoff) {
        keyboard.inHandoff = true;
        m_outer = true;
    }
}

Keyboard::Handoff::~Handoff() {
    if (!m_outer) {
        return;
    }
    auto& keyboard = state();
    keyboard.inHandoff = false;
    if (keyboard.hidePending) {
        hideNow();
    }
}

void Keyboard::reset() {
    state() = KeyboardState{};
}

}  // namespace platform
