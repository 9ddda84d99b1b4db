#include "platform/foundation/UUID.h"

#include "platform/foundation/Crypto.h"

namespace platform {

std::string makeUUIDString() {
    std::string bytes = randomBytes(16);
    bytes[6] = static_cast<char>((bytes[6] & 0x0f) | 0x40);  // version 4
    bytes[8] = static_cast<char>((bytes[8] & 0x3f) | 0x80);  // RFC 4122 variant
    std::string hex = hexEncode(bytes, true);
    return hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" +
           hex.substr(16, 4) + "-" + hex.substr(20, 12);
}

}  // namespace platform
