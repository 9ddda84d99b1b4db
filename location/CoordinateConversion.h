#pragma once

#include <array>
#include <cstdint>

#include "location/Gcj02EncryptState.h"
#include "location/LMPoint.h"

// The coordinate arithmetic of the location SDK. Four kinds of coordinate: WGS-84
// longitude/latitude (what the receiver reports), GCJ-02 longitude/latitude (the national
// offset datum, reached by a fixed-point offset transform), LD-09 longitude/latitude (our own
// datum, a rotation and shift of GCJ-02) and LD-09 Mercator metres (the map plane, reached by
// a banded polynomial projection). Fixed point is 1/3686400 of a degree (1/1024 arc second).
//
// The constants below are the SDK's own, digit for digit, including its short values of pi:
// results must match those of every other build of the SDK, so this file is compiled without
// floating-point contraction and every sum is written in its fixed order.

using LMCoefficientRow = std::array<double, 10>;

// Latitude limits (degrees) and northing limits (metres) of the six projection bands.
extern const std::array<double, 6> LLBand;
extern const std::array<double, 6> MCBand;
extern const std::array<LMCoefficientRow, 6> LL2MCCoefficients;
extern const std::array<LMCoefficientRow, 6> MC2LLCoefficients;

inline constexpr int kGcj02EncryptFailed = -27137;
inline constexpr double kFixedPointPerDegree = 3686400.0;

// WGS-84 to GCJ-02 in fixed point. Mode 0 initialises the state and converts nothing; any
// other mode converts. Answers 0, or kGcj02EncryptFailed (both outputs 0) for a height of 5001
// or more, a position outside the offset region, or a speed too high for the gate. `reserved`
// is not read. The state is the process-wide one unless a test passes its own.
int Gcj02Encrypt(unsigned int mode, std::uint32_t longitude, std::uint32_t latitude, int height,
                 std::uint32_t reserved, std::uint32_t time, std::uint32_t* outLongitude,
                 std::uint32_t* outLatitude,
                 Gcj02EncryptState& state = Gcj02EncryptState::shared());

// One step of the offset transform's jitter generator: the next value in [0, 1). Each
// converting call takes two steps from the state's seed and keeps the second as the new seed.
double Gcj02NextJitter(double seed);

// GCJ-02 to LD-09 longitude/latitude. Answers 1, or 0 without writing when out is null.
int Ld09Encrypt(const LMPoint& gcj02, LMPoint* out);

// LD-09 longitude/latitude to Mercator metres, and back (the input clamped to the plane).
LMPoint Ld09LLToMC(const LMPoint& lonLat);
LMPoint Ld09MCToLL(const LMPoint& mercator);

// One band's polynomial: x linear in |x|, y of degree 6 in |y| / c9; signs kept.
LMPoint ConvertByBand(const LMPoint& point, const LMCoefficientRow& row);

// The offset transform's sine (a short odd series) and its two offset series, x and y being
// the distance in degrees from 105 E, 35 N.
double OffsetSin(double angle);
double OffsetLonTerm(double x, double y);
double OffsetLatTerm(double x, double y);
