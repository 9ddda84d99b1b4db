#pragma once

// A pair of doubles: longitude (x) and latitude (y) in degrees, or easting (x) and northing (y)
// in projected metres, depending on the coordinate kind it carries.
struct LMPoint {
    double x = 0;
    double y = 0;

    friend bool operator==(const LMPoint&, const LMPoint&) = default;
};
