#include "platform/ui/Keyboard.h"

#include "platform/foundation/Json.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/DisplayChanges.h"
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

Rect offscreenFrame() {
    Size screen = Screen::main().size();
    return Rect{{0, screen.height}, {screen.width, Keyboard::height()}};
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
    keyboard.visible = false;
    keyboard.editor.reset();
    noteDisplayChange();
    post("UIKeyboardWillHideNotification", Keyboard::frame(), offscreenFrame());
    post("UIKeyboardDidHideNotification", Keyboard::frame(), offscreenFrame());
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
    Size screen = Screen::main().size();
    double h = height();
    return Rect{{0, screen.height - h}, {screen.width, h}};
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

std::vector<KeyboardKey> Keyboard::keys() {
    if (!isVisible()) {
        return {};
    }
    return layoutKeyboardKeys(frame(), editorReturnKey(), type());
}

void Keyboard::draw(BitmapContext& context) {
    if (!isVisible()) {
        return;
    }
    drawKeyboard(context, frame(), keys(), editorReturnKey());
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
    Rect begin = isVisible() ? frame() : offscreenFrame();
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
