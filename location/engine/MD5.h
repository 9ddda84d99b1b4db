#pragma once

#include <string>
#include <string_view>

namespace _zizaz_vi {

// The engine's MD5 digest (RFC 1321).
class MD5 {
public:
    // 32 lower-case hexadecimal digits.
    static std::string HexDigest(std::string_view bytes);
};

}  // namespace _zizaz_vi
