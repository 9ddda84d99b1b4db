#pragma once

#include <string>

#include "platform/foundation/TextRange.h"

namespace platform {

class TextField;

// The phone's UITextFieldDelegate. Every method is optional; the defaults do what a field
// without that method does (allow everything).
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;

    virtual bool textFieldShouldBeginEditing(TextField& /*field*/) { return true; }
    virtual void textFieldDidBeginEditing(TextField& /*field*/) {}
    virtual bool textFieldShouldEndEditing(TextField& /*field*/) { return true; }
    virtual void textFieldDidEndEditing(TextField& /*field*/) {}
    // `range` is in UTF-16 units of the current text.
    virtual bool shouldChangeCharactersInRange(TextField& /*field*/, TextRange /*range*/,
                                               const std::string& /*replacement*/) {
        return true;
    }
    virtual bool textFieldShouldClear(TextField& /*field*/) { return true; }
    virtual bool textFieldShouldReturn(TextField& /*field*/) { return true; }
};

}  // namespace platform
