#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/devices/Contact.h"

namespace platform {

// The contact as a vCard 3.0 text (CRLF line ends, lines folded at 75 octets). Standard
// labels become TEL/EMAIL types; a label of the user's own goes into an X-LABEL property
// grouped with its value, so any text survives.
std::string formatVCard(const Contact& contact);

// The first vCard of the text. Folded lines, LF or CRLF line ends, groups, parameters in any
// case and properties we do not know are accepted (unknown ones are ignored). Nothing (and the
// reason) when the text is not valid UTF-8 or holds no BEGIN:VCARD ... END:VCARD.
std::optional<Contact> parseVCard(std::string_view text, std::string* error = nullptr);

}  // namespace platform
