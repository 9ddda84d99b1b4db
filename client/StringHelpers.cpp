#include "client/StringHelpers.h"

#include "platform/foundation/URLEscaping.h"

std::string URLEncodedString(const std::string& text) {
    return platform::urlEncodedString(text);
}

std::string URLDecodedString(const std::string& text) {
    return platform::urlDecodedString(text);
}
