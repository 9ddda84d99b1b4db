#pragma once

#include <string>

#include "platform/devices/Location.h"

namespace platform {

// A place the geocoder knows, with the parts of its address.
struct Placemark {
    Coordinate coordinate;
    std::string name;
    std::string thoroughfare;
    std::string subLocality;
    std::string locality;
    std::string administrativeArea;
    std::string country;
};

}  // namespace platform
