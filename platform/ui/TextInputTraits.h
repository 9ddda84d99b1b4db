#pragma once

namespace platform {

// What the keyboard offers while a text field or text view is edited. Headless, they only
// describe the keyboard; the driver types whatever it is told to. The phone's kinds named
// after outside services are left out: nothing here offers them.
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
    WebSearch,
};

// The title of the keyboard's return key.
enum class ReturnKeyType {
    Default,
    Go,
    Join,
    Next,
    Route,
    Search,
    Send,
    Done,
    EmergencyCall,
};

enum class TextAutocapitalizationType { None, Words, Sentences, AllCharacters };

}  // namespace platform
