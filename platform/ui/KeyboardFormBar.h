#pragma once

namespace platform {

// An input that asks the keyboard for the phone's form bar over its keys, as the fields of a
// web page do: 上一项 and 下一项 move to the page's previous and next field (greyed where there
// is none), and 完成 ends editing and puts the keyboard away.
class KeyboardFormBar {
public:
    enum class Step { Previous, Next };

    // Whether there is a field to move to that way.
    virtual bool canStep(Step step) const = 0;
    // Moves the editing there: this input ends its editing, the other begins, the keyboard
    // stays up.
    virtual void step(Step step) = 0;

protected:
    ~KeyboardFormBar() = default;
};

}  // namespace platform
