#pragma once

#include <string>
#include <utility>

#include "platform/devices/Annotation.h"

// A pin of the map's own: a coordinate with a title and subtitle, fixed when it is made. It
// is the same record as MapAnnotation under a name of its own.
class MyPin final : public platform::FixedAnnotation {
public:
    MyPin(platform::Coordinate coordinate, std::string title, std::string subTitle)
        : platform::FixedAnnotation(coordinate, std::move(title), std::move(subTitle)) {}
};
