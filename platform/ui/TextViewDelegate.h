#pragma once

#include <string>

#include "platform/foundation/TextRange.h"

namespace platform {

class TextView;

// The phone's UITextViewDelegate. All optional; by default everything is allowed.
class TextViewDelegate {
public:
    virtual ~TextViewDelegate() = default;

    virtual bool textViewShouldBeginEditing(TextView& /*textView*/) { return true; }
    virtual void textViewDidBeginEditing(TextView& /*textView*/) {}
    virtual bool textViewShouldEndEditing(TextView& /*textView*/) { return true; }
    virtual void textViewDidEndEditing(TextView& /*textView*/) {}
    // `range` is in UTF-16 units of the current text.
    virtual bool shouldChangeTextInRange(TextView& /*textView*/, TextRange /*range*/,
                                         const std::string& /*replacement*/) {
        return true;
    }
    virtual void textViewDidChange(TextView& /*textView*/) {}
};

}  // namespace platform
