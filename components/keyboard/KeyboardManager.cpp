#include "components/keyboard/KeyboardManager.h"

namespace platform::components {

KeyboardManager& KeyboardManager::shared() {
    static KeyboardManager instance;
    return instance;
}

void KeyboardManager::setKeyboardDistanceFromTextField(double distance) {
    // NaN fails the comparison and becomes 0 as well.
    m_keyboardDistanceFromTextField = distance > 0 ? distance : 0;
}

void KeyboardManager::reset() {
    m_enable = true;
    m_keyboardDistanceFromTextField = kDefaultKeyboardDistance;
    m_enableAutoToolbar = true;
    m_shouldResignOnTouchOutside = false;
}

}  // namespace platform::components
