#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Raw bytes (the phone's NSData). The same type nlohmann::json uses for binary values, so data
// moves in and out of Json without copying element by element.
using Bytes = std::vector<std::uint8_t>;

inline Bytes toBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}
inline std::string toString(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace platform
