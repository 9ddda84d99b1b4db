#pragma once

namespace platform {

// What the keyboard offers while a text field or text view is edited. Headless, they only
// describe the keyboard; the driver types whatever it is told to.
enum class KeyboardType {
    Default,
    ASCIICapable,
    NumbersAndPunctuation,
    URL,
    NumberPad,
    PhonePad,
    NamePhonePad,
    EmailAddress,
    DecimalPad,
    Twitter,
    WebSearch,
};

// The title of the keyboard's return key.
enum class ReturnKeyType {
    Default,
    Go,
    Google,
    Join,
    Next,
    Route,
    Search,
    Send,
    Yahoo,
    Done,
    EmergencyCall,
};

enum class TextAutocapitalizationType { None, Words, Sentences, AllCharacters };

}  // namespace platform
