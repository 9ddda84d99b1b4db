#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "location/CoordinateConversion.h"
#include "location/LMAppTools.h"
#include "location/Saturating.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::uint32_t fixedPoint(double degrees) {
    return static_cast<std::uint32_t>(degrees * kFixedPointPerDegree);
}

// A position well inside the offset region.
constexpr double kLon = 116.397128;
constexpr double kLat = 39.916527;

class CoordinateConversionTest : public ::testing::Test {
protected:
    void SetUp() override { Gcj02EncryptState::shared().reset(); }
    void TearDown() override { Gcj02EncryptState::shared().reset(); }
};

// The unoffset road of a WGS-84 position: single precision, then shifted and projected.
LMPoint unoffsetChain(double lon, double lat) {
    LMPoint ld09;
    Ld09Encrypt({static_cast<float>(lon), static_cast<float>(lat)}, &ld09);
    return Ld09LLToMC(ld09);
}

TEST_F(CoordinateConversionTest, FirstFourCallsOfAProcessUseTheKnownJitterPairs) {
    const std::pair<double, double> expected[] = {
        {0.5, 0.75}, {0.375, 0.4375}, {0.59375, 0.484375}, {0.4609375, 0.52734375}};
    auto& state = Gcj02EncryptState::shared();
    for (const auto& [j1, j2] : expected) {
        EXPECT_EQ(Gcj02NextJitter(state.seed), j1);
        std::uint32_t lon = 0, lat = 0;
        ASSERT_EQ(Gcj02Encrypt(1, fixedPoint(kLon), fixedPoint(kLat), 0, 0, 0, &lon, &lat), 0);
        EXPECT_EQ(state.seed, j2);
    }
    // Each of those calls took the same-time branch of the speed gate.
    EXPECT_EQ(state.counter, 12);
}

TEST_F(CoordinateConversionTest, SamePointConvertsDifferentlyAsTheJitterMovesOn) {
    const LMPoint first = LMAppTools::CoordinateEncrypt(kLon, kLat, LMAppTools::kWgs84LonLat);
    const LMPoint second = LMAppTools::CoordinateEncrypt(kLon, kLat, LMAppTools::kWgs84LonLat);
    EXPECT_NE(first, second);
    EXPECT_NEAR(first.x, second.x, 2.0);
    EXPECT_NEAR(first.y, second.y, 2.0);
    Gcj02EncryptState::shared().reset();
    EXPECT_EQ(LMAppTools::CoordinateEncrypt(kLon, kLat, LMAppTools::kWgs84LonLat), first);
}

TEST_F(CoordinateConversionTest, HeightLimitIsInclusive) {
    Gcj02EncryptState state;
    std::uint32_t lon = 1, lat = 1;
    EXPECT_EQ(Gcj02Encrypt(1, fixedPoint(kLon), fixedPoint(kLat), 5000, 0, 0, &lon, &lat, state),
              0);
    EXPECT_GT(lon, fixedPoint(kLon));  // moved east, as the offset does here
    const double seed = state.seed;
    EXPECT_EQ(Gcj02Encrypt(1, fixedPoint(kLon), fixedPoint(kLat), 5001, 0, 0, &lon, &lat, state),
              kGcj02EncryptFailed);
    EXPECT_EQ(lon, 0u);
    EXPECT_EQ(lat, 0u);
    EXPECT_EQ(state.seed, seed);  // a failed call leaves the jitter where it was
}

TEST_F(CoordinateConversionTest, PositionsOutsideTheRegionFailTheOffset) {
    Gcj02EncryptState state;
    std::uint32_t lon = 1, lat = 1;
    for (const auto& [lo, la] : std::vector<std::pair<double, double>>{
             {72.0, 40}, {137.84, 40}, {100, 0.82}, {100, 55.83}, {10, 50}}) {
        EXPECT_EQ(Gcj02Encrypt(1, fixedPoint(lo), fixedPoint(la), 0, 0, 0, &lon, &lat, state),
                  kGcj02EncryptFailed)
            << lo << "," << la;
        EXPECT_EQ(lon, 0u);
    }
    EXPECT_EQ(state.seed, 0);
    EXPECT_EQ(Gcj02Encrypt(1, fixedPoint(72.0041), fixedPoint(0.8294), 0, 0, 0, &lon, &lat, state),
              0);
}

TEST_F(CoordinateConversionTest, PointOutsideTheRegionIsShiftedAndProjectedWithoutOffset) {
    const LMPoint p = LMAppTools::CoordinateEncrypt(10, 50, LMAppTools::kWgs84LonLat);
    EXPECT_EQ(p, unoffsetChain(10, 50));
    EXPECT_NEAR(p.x, 1113938.58, 0.01);
    EXPECT_EQ(Gcj02EncryptState::shared().seed, 0);  // no jitter consumed
}

TEST_F(CoordinateConversionTest, BadInputToTheFixedPointGridSaturates) {
    // Negative, too large and not-a-number values quantise to the ends of the range (never
    // undefined), land outside the region and go on unoffset.
    EXPECT_EQ(LMAppTools::CoordinateEncrypt(-120, 40, LMAppTools::kWgs84LonLat),
              unoffsetChain(-120, 40));
    EXPECT_EQ(LMAppTools::CoordinateEncrypt(1e30, 40, LMAppTools::kWgs84LonLat),
              unoffsetChain(1e30, 40));
    const LMPoint nan = LMAppTools::CoordinateEncrypt(kNaN, kNaN, LMAppTools::kWgs84LonLat);
    EXPECT_TRUE(std::isnan(nan.x));
    EXPECT_EQ(Gcj02EncryptState::shared().seed, 0);

    EXPECT_EQ(saturatingToUInt32(kNaN), 0u);
    EXPECT_EQ(saturatingToUInt32(-0.5), 0u);
    EXPECT_EQ(saturatingToUInt32(-1e12), 0u);
    EXPECT_EQ(saturatingToUInt32(1.9), 1u);
    EXPECT_EQ(saturatingToUInt32(4294967295.9), 4294967295u);
    EXPECT_EQ(saturatingToUInt32(1e300), 4294967295u);
    EXPECT_EQ(saturatingToInt32(kNaN), 0);
    EXPECT_EQ(saturatingToInt32(-3e9), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(saturatingToInt32(3e9), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(saturatingToInt32(-2.7), -2);
}

TEST_F(CoordinateConversionTest, ProjectionBandChoice) {
    // The equator falls in the last band: the northing is that row's constant term.
    EXPECT_EQ(Ld09LLToMC({116, 0}).y, 0.00369383431289);
    // Exactly 75 is not above the first limit, so it takes the second band.
    EXPECT_EQ(Ld09LLToMC({116, 75}), ConvertByBand({116, 75}, LL2MCCoefficients[1]));
    EXPECT_NE(Ld09LLToMC({116, 75}), ConvertByBand({116, 75}, LL2MCCoefficients[0]));
    EXPECT_EQ(Ld09LLToMC({116, 75.0001}), ConvertByBand({116, 75.0001}, LL2MCCoefficients[0]));
    // Latitude that is not a number meets no band: the all-zero row.
    EXPECT_EQ(Ld09LLToMC({116, kNaN}).x, 0);
}

TEST_F(CoordinateConversionTest, InverseProjectionClampsItsInput) {
    EXPECT_EQ(Ld09MCToLL({3e7, 4e6}), Ld09MCToLL({20037508.342, 4e6}));
    EXPECT_EQ(Ld09MCToLL({-3e7, 4e6}), Ld09MCToLL({-20037508.342, 4e6}));
    EXPECT_EQ(Ld09MCToLL({1e6, 3e7}), Ld09MCToLL({1e6, 20037508.342}));
    EXPECT_EQ(Ld09MCToLL({1e6, 0}), Ld09MCToLL({1e6, 1e-6}));
    EXPECT_EQ(Ld09MCToLL({1e6, -5e-7}), Ld09MCToLL({1e6, -1e-6}));
}

TEST_F(CoordinateConversionTest, SignsSurviveBothProjections) {
    const LMPoint mc = Ld09LLToMC({-58.4, -34.6});
    EXPECT_LT(mc.x, 0);
    EXPECT_LT(mc.y, 0);
    EXPECT_EQ(mc, (LMPoint{-Ld09LLToMC({58.4, 34.6}).x, -Ld09LLToMC({58.4, 34.6}).y}));
    const LMPoint back = Ld09MCToLL(mc);
    EXPECT_NEAR(back.x, -58.4, 1e-6);
    EXPECT_NEAR(back.y, -34.6, 1e-6);
}

// The worst disagreement of the two projections over a band of latitudes, taking the round
// trip both ways: from degrees, and from the degrees of a point of the plane.
double worstRoundTrip(double maxLatitude) {
    double worst = 0;
    for (double lat = -maxLatitude; lat <= maxLatitude; lat += 0.013) {
        for (double lon = -179.5; lon <= 179.5; lon += 7.7) {
            const LMPoint back = Ld09MCToLL(Ld09LLToMC({lon, lat}));
            worst = std::max({worst, std::fabs(back.x - lon), std::fabs(back.y - lat)});
            const LMPoint degrees = Ld09MCToLL({lon * 111000, lat * 111000});
            const LMPoint again = Ld09MCToLL(Ld09LLToMC(degrees));
            worst =
                std::max({worst, std::fabs(again.x - degrees.x), std::fabs(again.y - degrees.y)});
        }
    }
    return worst;
}

TEST_F(CoordinateConversionTest, DegreesAndMetresRoundTripWithinAMicrodegree) {
    EXPECT_LT(worstRoundTrip(44.99), 1e-6);
    // Just north of 45 degrees the two polynomial sets meet at slightly different seams, and
    // past 58 the bands coarsen: the SDK's own coefficients (the reference script agrees)
    // round-trip to a few microdegrees there, a quarter of a metre.
    EXPECT_LT(worstRoundTrip(58), 2.5e-6);
}

TEST_F(CoordinateConversionTest, CoordinateKinds) {
    EXPECT_EQ(LMAppTools::CoordinateEncrypt(1.5e7, 4e6, LMAppTools::kLd09Mercator),
              (LMPoint{1.5e7, 4e6}));
    EXPECT_EQ(LMAppTools::CoordinateEncrypt(kLon, kLat, LMAppTools::kLd09LonLat),
              Ld09LLToMC({kLon, kLat}));
    LMPoint ld09;
    ASSERT_EQ(Ld09Encrypt({kLon, kLat}, &ld09), 1);
    EXPECT_EQ(LMAppTools::CoordinateEncrypt(kLon, kLat, LMAppTools::kGcj02LonLat),
              Ld09LLToMC(ld09));
    EXPECT_EQ(Ld09Encrypt({kLon, kLat}, nullptr), 0);
    EXPECT_EQ(LMAppTools::CoordinateEncrypt(kLon, kLat, 4), (LMPoint{}));
    EXPECT_EQ(LMAppTools::CoordinateEncrypt(kLon, kLat, -1), (LMPoint{}));
    EXPECT_EQ(Gcj02EncryptState::shared().seed, 0);  // only WGS-84 input is offset

    // Degrees come back as {latitude, longitude}.
    const LMPoint fromPlane = Ld09MCToLL({1.3e7, 4.8e6});
    EXPECT_EQ(LMAppTools::Zizaz09LLEncrypt(1.3e7, 4.8e6, LMAppTools::kLd09Mercator),
              (platform::Coordinate{fromPlane.y, fromPlane.x}));
    EXPECT_EQ(LMAppTools::Zizaz09LLEncrypt(kLon, kLat, LMAppTools::kGcj02LonLat),
              (platform::Coordinate{ld09.y, ld09.x}));
    EXPECT_EQ(LMAppTools::Zizaz09LLEncrypt(kLon, kLat, LMAppTools::kLd09LonLat),
              (platform::Coordinate{}));
    // From WGS-84 it is the chain's degrees before the projection.
    const platform::Coordinate viaDegrees =
        LMAppTools::Zizaz09LLEncrypt(kLon, kLat, LMAppTools::kWgs84LonLat);
    Gcj02EncryptState::shared().reset();
    const LMPoint viaPlane =
        Ld09MCToLL(LMAppTools::CoordinateEncrypt(kLon, kLat, LMAppTools::kWgs84LonLat));
    EXPECT_NEAR(viaDegrees.latitude, viaPlane.y, 1e-6);
    EXPECT_NEAR(viaDegrees.longitude, viaPlane.x, 1e-6);
}

TEST_F(CoordinateConversionTest, OffsetSineFollowsTheLibrarySine) {
    for (double a = -20; a <= 20; a += 0.173) {
        EXPECT_NEAR(OffsetSin(a), std::sin(a), 1e-3) << a;  // a short series
        EXPECT_EQ(OffsetSin(-a), -OffsetSin(a));
    }
}

TEST_F(CoordinateConversionTest, ModeZeroInitialisesTheStateAndConvertsNothing) {
    Gcj02EncryptState state;
    std::uint32_t lon = 0, lat = 0;
    ASSERT_EQ(Gcj02Encrypt(0, fixedPoint(kLon), fixedPoint(kLat), 0, 0, 0, &lon, &lat, state), 0);
    EXPECT_EQ(lon, fixedPoint(kLon));
    EXPECT_EQ(lat, fixedPoint(kLat));
    EXPECT_EQ(state.seed, 0.3);
    EXPECT_EQ(state.counter, 3);
    ASSERT_EQ(Gcj02Encrypt(0, fixedPoint(kLon), fixedPoint(kLat), 0, 0, 1000, &lon, &lat, state),
              0);
    EXPECT_NEAR(state.seed, 1000 - 2801 * 0.357, 1e-9);
    EXPECT_EQ(state.lastTime, 1000u);
}

TEST_F(CoordinateConversionTest, SpeedGateRefusesAJumpAfterTwoMinutes) {
    Gcj02EncryptState state;
    std::uint32_t lon = 0, lat = 0;
    ASSERT_EQ(Gcj02Encrypt(0, fixedPoint(100), fixedPoint(30), 0, 0, 1000, &lon, &lat, state), 0);
    // Two minutes later: within the window nothing is checked.
    EXPECT_EQ(Gcj02Encrypt(1, fixedPoint(130), fixedPoint(30), 0, 0, 100000, &lon, &lat, state), 0);
    // Past it, thirty degrees in 200 s is far too fast.
    EXPECT_EQ(Gcj02Encrypt(1, fixedPoint(130), fixedPoint(30), 0, 0, 201000, &lon, &lat, state),
              kGcj02EncryptFailed);
    EXPECT_EQ(lon, 0u);
    EXPECT_EQ(state.counter, 0);
    // A slow move later passes and re-arms the gate.
    Gcj02EncryptState slow;
    ASSERT_EQ(Gcj02Encrypt(0, fixedPoint(100), fixedPoint(30), 0, 0, 1000, &lon, &lat, slow), 0);
    EXPECT_EQ(Gcj02Encrypt(1, fixedPoint(100.001), fixedPoint(30), 0, 0, 201000, &lon, &lat, slow),
              0);
    EXPECT_EQ(slow.counter, 3);
    EXPECT_EQ(slow.lastTime, 201000u);
}

// Conversions worked out by tests/location/data/reference.py from the written formulas.
struct Reference {
    std::string name;
    double lon, lat;
    std::uint32_t fixedLon, fixedLat;
    double mcX, mcY, ld09Lon, ld09Lat;
};

std::vector<Reference> readReferences(std::vector<LMPoint>* sequence) {
    std::ifstream file(LOCATION_TEST_DATA "/reference.txt");
    std::vector<Reference> rows;
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream in(line);
        Reference r;
        in >> r.name;
        if (r.name == "sequence") {
            LMPoint p;
            in >> r.name >> r.lon >> r.lat >> p.x >> p.y;
            sequence->push_back(p);
            continue;
        }
        in >> r.lon >> r.lat >> r.fixedLon >> r.fixedLat >> r.mcX >> r.mcY >> r.ld09Lon >>
            r.ld09Lat;
        rows.push_back(r);
    }
    return rows;
}

TEST_F(CoordinateConversionTest, CityCoordinatesMatchTheIndependentReference) {
    std::vector<LMPoint> sequence;
    const auto rows = readReferences(&sequence);
    ASSERT_EQ(rows.size(), 8u);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Gcj02EncryptState::shared().reset();
        const float lon = static_cast<float>(r.lon), lat = static_cast<float>(r.lat);
        std::uint32_t fixedLon = 0, fixedLat = 0;
        Gcj02EncryptState state;
        Gcj02Encrypt(1, saturatingToUInt32(lon * 3600.0f * 1024.0f),
                     saturatingToUInt32(lat * 3600.0f * 1024.0f), 0, 0, 0, &fixedLon, &fixedLat,
                     state);
        EXPECT_EQ(fixedLon, r.fixedLon);
        EXPECT_EQ(fixedLat, r.fixedLat);

        const LMPoint mc = LMAppTools::CoordinateEncrypt(r.lon, r.lat, LMAppTools::kWgs84LonLat);
        EXPECT_NEAR(mc.x, r.mcX, 1e-6);
        EXPECT_NEAR(mc.y, r.mcY, 1e-6);
        const LMPoint ld09 = Ld09MCToLL(mc);
        EXPECT_NEAR(ld09.x, r.ld09Lon, 1e-12);
        EXPECT_NEAR(ld09.y, r.ld09Lat, 1e-12);
    }
    Gcj02EncryptState::shared().reset();
    ASSERT_EQ(sequence.size(), 4u);
    for (const LMPoint& expected : sequence) {
        const LMPoint mc =
            LMAppTools::CoordinateEncrypt(rows[0].lon, rows[0].lat, LMAppTools::kWgs84LonLat);
        EXPECT_NEAR(mc.x, expected.x, 1e-6);
        EXPECT_NEAR(mc.y, expected.y, 1e-6);
    }
}

}  // namespace
