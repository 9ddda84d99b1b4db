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
    enum class Kind { Character, Space, Delete, Return };
    Kind kind{Kind::Character};
    // What the key shows; a character key types it too.
    std::string title;
    Rect frame;
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

// How the outline names the keyboard of the type: "keyboard", "keyboard (digits)",
// "keyboard (numbers)" or "keyboard (email)".
std::string keyboardDescription(KeyboardType type);

// The key whose cell holds the point; null when none does.
const KeyboardKey* keyboardKeyAt(const std::vector<KeyboardKey>& keys, Point point);

// Draws the keyboard's tray over `area` and its keys (laid out in the same area).
void drawKeyboard(BitmapContext& context, const Rect& area, const std::vector<KeyboardKey>& keys,
                  ReturnKeyType returnKey);

}  // namespace platform
