#pragma once

#include "platform/foundation/RunLoop.h"

namespace platform {

enum class LocationAuthorizationStatus {
    NotDetermined = 0,
    Restricted = 1,
    Denied = 2,
    AuthorizedAlways = 3,
    AuthorizedWhenInUse = 4,
};

// Accuracies in metres; "best" asks for the most the device can give.
inline constexpr double kLocationAccuracyBest = -1;
inline constexpr double kLocationAccuracyNearestTenMeters = 10;
inline constexpr double kLocationAccuracyHundredMeters = 100;
inline constexpr double kLocationAccuracyKilometer = 1000;
// Every fix or heading, however little it moved.
inline constexpr double kDistanceFilterNone = -1;
inline constexpr double kHeadingFilterNone = -1;

struct Coordinate {
    double latitude = 0;
    double longitude = 0;

    bool operator==(const Coordinate&) const = default;
};

// One fix. A negative accuracy, course or speed means "not known"; the timestamp is the run
// loop's clock (manual in tests).
struct Location {
    Coordinate coordinate;
    double altitude = 0;
    double horizontalAccuracy = 0;
    double verticalAccuracy = -1;
    double course = -1;
    double speed = -1;
    TimePoint timestamp{};
};

// Degrees clockwise from north; a negative true heading or accuracy is not known.
struct Heading {
    double magneticHeading = 0;
    double trueHeading = -1;
    double headingAccuracy = 0;
    TimePoint timestamp{};
};

// Great-circle distance in metres.
double distanceBetween(const Coordinate& a, const Coordinate& b);

// Latitude within -90...90 and longitude within -180...180, both finite.
bool isValidCoordinate(const Coordinate& coordinate);

}  // namespace platform
