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

// The plain keyboard laid out in `area`: a row of digits, three rows of letters (the last
// ending in delete) and a row with "@", the space bar and the return key.
std::vector<KeyboardKey> layoutKeyboardKeys(const Rect& area, ReturnKeyType returnKey);

// The key whose cell holds the point; null when none does.
const KeyboardKey* keyboardKeyAt(const std::vector<KeyboardKey>& keys, Point point);

// Draws the keyboard's tray over `area` and its keys (laid out in the same area).
void drawKeyboard(BitmapContext& context, const Rect& area, const std::vector<KeyboardKey>& keys,
                  ReturnKeyType returnKey);

}  // namespace platform
