#pragma once

#include <string>
#include <utility>

#include "platform/devices/Annotation.h"

// A place to pin on the map: a coordinate with a title and subtitle, fixed when it is made.
class MapAnnotation final : public platform::FixedAnnotation {
public:
    MapAnnotation(platform::Coordinate coordinate, std::string title, std::string subTitle)
        : platform::FixedAnnotation(coordinate, std::move(title), std::move(subTitle)) {}
};
