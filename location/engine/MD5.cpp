#include "location/engine/MD5.h"

#include "platform/foundation/Crypto.h"

namespace _zizaz_vi {

std::string MD5::HexDigest(std::string_view bytes) {
    return platform::md5Hex(bytes);
}

}  // namespace _zizaz_vi
