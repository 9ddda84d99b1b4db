#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// Truncation toward zero into a 32-bit integer. A plain cast of a value the integer cannot
// hold is undefined behaviour; these clamp to the nearest end of the range instead, and a
// value that is not a number becomes 0. Values inside the range truncate exactly as a cast.
inline std::uint32_t saturatingToUInt32(double value) {
    if (!(value > 0)) {  // NaN, zero and every negative value
        return 0;
    }
    if (value >= 4294967296.0) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    return static_cast<std::uint32_t>(value);
}

inline std::int32_t saturatingToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= 2147483648.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}
