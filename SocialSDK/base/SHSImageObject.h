#pragma once

#include <variant>

#include "platform/foundation/Bytes.h"
#include "platform/graphics/Image.h"

// A share picture as the host hands it over: nothing, an image, or image data (a GIF, say)
// sent as it is.
using SHSImageObject = std::variant<std::monostate, platform::Image, platform::Bytes>;

inline bool SHSImageObjectIsSet(const SHSImageObject& object) {
    if (const auto* image = std::get_if<platform::Image>(&object))
        return !image->isNull();
    return std::holds_alternative<platform::Bytes>(object);
}
