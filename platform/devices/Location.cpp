#include "platform/devices/Location.h"

#include <cmath>
#include <numbers>

namespace platform {

double distanceBetween(const Coordinate& a, const Coordinate& b) {
    constexpr double kEarthRadius = 6371000;
    constexpr double kRadians = std::numbers::pi / 180;
    double dLat = (b.latitude - a.latitude) * kRadians;
    double dLon = (b.longitude - a.longitude) * kRadians;
    double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
               std::cos(a.latitude * kRadians) * std::cos(b.latitude * kRadians) *
                   std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

bool isValidCoordinate(const Coordinate& c) {
    return std::isfinite(c.latitude) && std::isfinite(c.longitude) && c.latitude >= -90 &&
           c.latitude <= 90 && c.longitude >= -180 && c.longitude <= 180;
}

}  // namespace platform
