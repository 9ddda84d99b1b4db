#pragma once

#include <string>
#include <vector>

namespace platform {

// The address book's standard labels. Any other text is a label of the user's own (such as a
// carrier's name) and is kept as it stands.
inline constexpr const char* kContactLabelMobile = "mobile";
inline constexpr const char* kContactLabelWork = "work";
inline constexpr const char* kContactLabelHome = "home";
inline constexpr const char* kContactLabelOther = "other";

struct LabeledValue {
    std::string label;
    std::string value;

    bool operator==(const LabeledValue&) const = default;
};

// One person of the device's address book.
struct Contact {
    // Given by the store when the contact is saved (the name of its file); empty before.
    std::string identifier;
    std::string firstName;
    std::string lastName;
    std::string organization;
    std::string jobTitle;
    std::vector<LabeledValue> phones;
    std::vector<LabeledValue> emails;
};

}  // namespace platform
