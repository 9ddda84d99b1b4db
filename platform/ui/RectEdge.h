#pragma once

#include "platform/ui/EnumFlags.h"

namespace platform {

enum class RectEdge : unsigned {
    None = 0,
    Top = 1u << 0,
    Left = 1u << 1,
    Bottom = 1u << 2,
    Right = 1u << 3,
    All = 0xF,
};

template <>
struct EnableFlags<RectEdge> : std::true_type {};

}  // namespace platform
