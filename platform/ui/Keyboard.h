#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/ui/KeyboardKeys.h"

namespace platform {

class BitmapContext;
class View;

// The stand-in phone's on-screen keyboard. It shows while a text field or text view is
// being edited and hides when editing ends, posting the phone's keyboard notifications on
// the default notification centre:
//   "UIKeyboardWillShowNotification", "UIKeyboardDidShowNotification",
//   "UIKeyboardWillHideNotification", "UIKeyboardDidHideNotification"
// with userInfo {"UIKeyboardFrameBeginUserInfoKey": [x, y, w, h],
//                "UIKeyboardFrameEndUserInfoKey": [x, y, w, h],
//                "UIKeyboardAnimationDurationUserInfoKey": 0.25}.
// Moving from one input to another keeps it up (it announces itself again for the new
// input, as the phone does). While up it is drawn over the bottom of the screen (a plain key
// field whose return key is titled by the input's return key type), and what it covers takes
// no touches. An input that is a KeyboardFormBar (a web page's field) gets the phone's form
// bar over the keys: the keyboard's frame, as drawn and as announced, holds it. Main thread
// only.
class Keyboard {
public:
    // The phone's keyboard held upright; height() gives it for the interface shown.
    static constexpr double kHeight = 216;
    static constexpr double kLandscapeHeight = 162;
    static constexpr double kPadHeight = 264;
    static constexpr double kPadLandscapeHeight = 352;
    static constexpr double kAnimationDuration = 0.25;
    // The form bar over the keys, as tall as the phone's.
    static constexpr double kFormBarHeight = 44;

    // Up, for an input that still exists.
    static bool isVisible();
    // How tall it is on this device in the interface's orientation.
    static double height();
    // Where the keyboard shows: the bottom height() points of the main screen, and the form
    // bar above them while it serves an input that has one.
    static Rect frame();
    // Where it shows while it serves `input` (which may be about to begin editing).
    static Rect frame(const View& input);

    // The keys shown, in the main screen's coordinates; none while the keyboard is down.
    static std::vector<KeyboardKey> keys();
    // The keyboard type of the input it serves (the keys follow it).
    static KeyboardType type();
    // Draws the keyboard, when it is up, into a context in the main screen's coordinates.
    static void draw(BitmapContext& context);
    // A finger lifted on the key (one of keys()): a character or the space bar types into the
    // input, delete deletes, return returns (a new line in a text view), and the form bar's
    // keys move to the previous or next field or end the editing. A greyed key does nothing.
    static void press(const KeyboardKey& key);

    // For text inputs: `editor` began editing (the keyboard shows, or shows again).
    static void editingBegan(const std::shared_ptr<View>& editor);
    // `editor` stopped editing; the keyboard hides unless another input is taking over.
    static void editingEnded(const View* editor);

    // The interface turned: a keyboard that is up announces itself again in its new frame,
    // as the phone's does after a rotation.
    static void interfaceRotated();

    // While one of these lives, an input that ends editing leaves the keyboard up for the
    // input that is becoming first responder; if none begins, the keyboard hides at the end.
    class Handoff {
    public:
        Handoff();
        ~Handoff();
        Handoff(const Handoff&) = delete;
        Handoff& operator=(const Handoff&) = delete;

    private:
        bool m_outer{false};
    };

    // Down and forgotten, without notifications; for tests between cases.
    static void reset();
};

}  // namespace platform
