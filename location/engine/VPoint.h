#pragma once

#include <cstdint>

namespace _zizaz_vi {

// A point of the engine's geometry, in integer hundredths of the caller's unit.
struct _VPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const _VPoint&, const _VPoint&) = default;
};

}  // namespace _zizaz_vi
