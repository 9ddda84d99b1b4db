#pragma once

#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/ui/TextInputTraits.h"

namespace platform {

class BitmapContext;

// One key of the drawn keyboard. `frame` is the whole cell the key owns, gaps included, so
// a finger between two keys still lands on one; the key is drawn inset within it.
struct KeyboardKey {
    // Previous, Next and Done are the keys of the form bar (KeyboardFormBar).
    enum class Kind { Character, Space, Delete, Return, Previous, Next, Done };
    Kind kind{Kind::Character};
    // What the key shows; a character key types it too.
    std::string title;
    Rect frame;
    // Greyed and doing nothing when false (a form bar's step with no field that way).
    bool enabled{true};
};

// The keyboard's return key title for the input's return key type, as the phone's Chinese
// keyboard shows it.
std::string returnKeyTitle(ReturnKeyType type);

// The keys for the input's keyboard type laid out in `area`, as the phone's keyboards have
// them:
// - the plain keyboard (and every type not named below): a row of digits, three rows of
//   letters (the last ending in delete) and a row with "@", the space bar and the return key;
// - EmailAddress: the same, with "@" and "." on either side of a shorter space bar;
// - NumbersAndPunctuation: the digits over two rows of punctuation, then space and return;
// - PhonePad, NumberPad, DecimalPad: a pad of digits, three by four, "0" between "+" (the
//   phone pad), "." (the decimal pad) or nothing, and delete. A pad has no return key.
std::vector<KeyboardKey> layoutKeyboardKeys(const Rect& area, ReturnKeyType returnKey,
                                            KeyboardType type = KeyboardType::Default);

// The form bar's keys laid out in `bar`: 上一项 and 下一项 at the left, enabled as given, and
// 完成 at the right.
std::vector<KeyboardKey> layoutFormBarKeys(const Rect& bar, bool canGoBack, bool canGoOn);

// How the outline names the keyboard of the type: "keyboard", "keyboard (digits)",
// "keyboard (numbers)" or "keyboard (email)".
std::string keyboardDescription(KeyboardType type);

// The key whose cell holds the point; null when none does.
const KeyboardKey* keyboardKeyAt(const std::vector<KeyboardKey>& keys, Point point);

// Draws the keyboard's tray over `area` and its keys (laid out in the same area).
void drawKeyboard(BitmapContext& context, const Rect& area, const std::vector<KeyboardKey>& keys,
                  ReturnKeyType returnKey);
// Draws the form bar over `bar` with its keys (layoutFormBarKeys): the phone's light bar with
// the keys' titles in the tint, greyed where a key does nothing.
void drawFormBar(BitmapContext& context, const Rect& bar, const std::vector<KeyboardKey>& keys);

}  // namespace platform
