#pragma once

namespace platform::components {

// The keyboard manager's settings. The headless platform has no on-screen keyboard to avoid,
// so these are only the state the client sets and reads; it is on, at a distance of 10
// points, from load.
class KeyboardManager {
public:
    static constexpr double kDefaultKeyboardDistance = 10;

    static KeyboardManager& shared();

    KeyboardManager(const KeyboardManager&) = delete;
    KeyboardManager& operator=(const KeyboardManager&) = delete;

    bool enable() const { return m_enable; }
    void setEnable(bool enable) { m_enable = enable; }
    // Points kept between a text field and the keyboard; negative values count as 0.
    double keyboardDistanceFromTextField() const { return m_keyboardDistanceFromTextField; }
    void setKeyboardDistanceFromTextField(double distance);
    bool enableAutoToolbar() const { return m_enableAutoToolbar; }
    void setEnableAutoToolbar(bool enable) { m_enableAutoToolbar = enable; }
    bool shouldResignOnTouchOutside() const { return m_shouldResignOnTouchOutside; }
    void setShouldResignOnTouchOutside(bool resign) { m_shouldResignOnTouchOutside = resign; }

    // Back to the settings at load; for tests.
    void reset();

private:
    KeyboardManager() = default;

    bool m_enable{true};
    double m_keyboardDistanceFromTextField{kDefaultKeyboardDistance};
    bool m_enableAutoToolbar{true};
    bool m_shouldResignOnTouchOutside{false};
};

}  // namespace platform::components
