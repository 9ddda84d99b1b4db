#include "location/CoordinateConversion.h"

#include <cmath>

#include "location/Saturating.h"

const std::array<double, 6> LLBand = {75, 60, 45, 30, 15, 0};
const std::array<double, 6> MCBand = {12890594.86, 8362377.87, 5591021, 3481989.83, 1678043.12, 0};

// clang-format off
const std::array<LMCoefficientRow, 6> LL2MCCoefficients = {{
    {-0.0015702102444, 111320.7020616939, 1704480524535203.0, -1.033898737604234e+16,
     2.611266785660388e+16, -3.51496691766537e+16, 2.659570071840392e+16,
     -1.072501245418824e+16, 1800819912950474.0, 82.5},
    {0.0008277824516172526, 111320.7020463578, 647795574.6671607, -4082003173.641316,
     10774905663.51142, -15171875531.51559, 12053065338.62167, -5124939663.577472,
     913311935.9512032, 67.5},
    {0.00337398766765, 111320.7020202162, 4481351.045890365, -23393751.19931662,
     79682215.47186455, -115964993.2797253, 97236711.15602145, -43661946.33752821,
     8477230.501135234, 52.5},
    {0.00220636496208, 111320.7020209128, 51751.86112841131, 3796837.749470245,
     992013.7397791013, -1221952.21711287, 1340652.697009075, -620943.6990984312,
     144416.9293806241, 37.5},
    {-0.0003441963504368392, 111320.7020576856, 278.2353980772752, 2485758.690035394,
     6070.750963243378, 54821.18345352118, 9540.606633304236, -2710.55326746645,
     1405.483844121726, 22.5},
    {-0.0003218135878613132, 111320.7020701615, 0.00369383431289, 823725.6402795718,
     0.46104986909093, 2351.343141331292, 1.58060784298199, 8.77738589078284,
     0.37238884252424, 7.45},
}};

const std::array<LMCoefficientRow, 6> MC2LLCoefficients = {{
    {1.410526172116255e-08, 8.98305509648872e-06, -1.9939833816331, 200.9824383106796,
     -187.2403703815547, 91.6087516669843, -23.38765649603339, 2.57121317296198,
     -0.03801003308653, 17337981.2},
    {-7.435856389565537e-09, 8.983055097726239e-06, -0.78625201886289, 96.32687599759846,
     -1.85204757529826, -59.36935905485877, 47.40033549296737, -16.50741931063887,
     2.28786674699375, 10260144.86},
    {-3.030883460898826e-08, 8.98305509983578e-06, 0.30071316287616, 59.74293618442277,
     7.357984074871, -25.38371002664745, 13.45380521110908, -3.29883767235584,
     0.32710905363475, 6856817.37},
    {-1.981981304930552e-08, 8.983055099779535e-06, 0.03278182852591, 40.31678527705744,
     0.65659298677277, -4.44255534477492, 0.85341911805263, 0.12923347998204,
     -0.04625736007561, 4482777.06},
    {3.09191371068437e-09, 8.983055096812155e-06, 6.995724062e-05, 23.10934304144901,
     -0.00023663490511, -0.6321817810242, -0.00663494467273, 0.03430082397953,
     -0.00466043876332, 2555164.4},
    {2.890871144776878e-09, 8.983055095805407e-06, -3.068298e-08, 7.47137025468032,
     -3.53937994e-06, -0.02145144861037, -1.234426596e-05, 0.00010322952773,
     -3.23890364e-06, 826088.5},
}};
// clang-format on

namespace {

// The angle factors of the offset series: the SDK's own multiples of pi, not the library's.
constexpr double k6Pi = 18.849555921538762;
constexpr double k2Pi = 6.283185307179588;
constexpr double kPi = 3.141592653589794;
constexpr double kPiOver3 = 1.047197551196598;
constexpr double kPiOver12 = 0.2617993877991495;
constexpr double kPiOver30 = 0.1047197551196598;
constexpr double kTwoThirds = 0.6667;

constexpr double kOffsetDegreeToRadian = 0.0174532925199433;
constexpr double kLd09DegreeToRadian = 0.0174532925194;

constexpr double kMercatorLimit = 20037508.342;
constexpr double kMinimumNorthing = 1e-6;

// A value that is not a number passes unchanged (and then meets no band).
double clampToPlane(double v) {
    if (v > kMercatorLimit) {
        return kMercatorLimit;
    }
    if (v < -kMercatorLimit) {
        return -kMercatorLimit;
    }
    return v;
}

double signOf(double v) {
    return v < 0 ? -1.0 : 1.0;
}

// The speed gate: false when the position moved implausibly fast since the last check.
bool passSpeedGate(Gcj02EncryptState& state, std::uint32_t longitude, std::uint32_t latitude,
                   std::uint32_t time) {
    state.curTime = time;
    const double dt = static_cast<std::uint32_t>(time - state.lastTime) / 1000.0;
    if (dt <= 0) {
        state.lastTime = time;
        state.counter += 3;
        state.lastLon = state.savedLon;
        state.lastLat = state.savedLat;
    } else if (dt <= 120) {
        // Checked again only after two minutes.
    } else if (state.counter != 3) {
        state.counter += 3;
        state.lastTime = time;
        state.lastLon = state.savedLon;
        state.lastLat = state.savedLat;
    } else {
        state.counter = 0;
        state.savedLon = longitude;
        state.savedLat = latitude;
        const double dLon = longitude - state.lastLon;
        const double dLat = latitude - state.lastLat;
        const double speed = std::sqrt(dLon * dLon + dLat * dLat) / dt;
        if (speed > 3185) {
            return false;
        }
        state.lastTime = time;
        state.lastLon = longitude;
        state.lastLat = latitude;
        state.counter = 3;
    }
    return true;
}

// The offset sine, inline so that the dozen independent series of one conversion overlap.
inline double offsetSine(double angle) {
    constexpr double kTurn = 6.28318530717959;
    const double v = std::fabs(angle);
    const double turns = saturatingToInt32(v / kTurn);
    double r = v - turns * kTurn;
    bool negative = angle < 0;
    if (r > 3.141592653589793) {
        r = r - 3.141592653589793;
        negative = !negative;
    }
    // Each power is the running product, r^n = r^(n-1) * r, as in the projection polynomials.
    const double r2 = r * r, r3 = r2 * r, r4 = r3 * r, r5 = r4 * r, r6 = r5 * r, r7 = r6 * r;
    const double r8 = r7 * r, r9 = r8 * r, r10 = r9 * r, r11 = r10 * r;
    const double s = r + r3 * -0.166666666666667 + r5 * 0.00833333333333333 +
                     r7 * -0.000198412698412698 + r9 * 2.75573192239859e-6 +
                     r11 * -2.50521083854417e-8;
    return negative ? -s : s;
}

// Both offset series at once: their first terms in x are the same values, computed once.
inline void offsetTerms(double x, double y, double* lonTerm, double* latTerm) {
    const double root = std::sqrt(std::sqrt(x * x));
    const double fast = 20 * offsetSine(k6Pi * x) + 20 * offsetSine(k2Pi * x);

    double lon = 0.1 * x * y + (0.1 * x * x + ((x + 300) + (y + y)));
    lon += 0.1 * root;
    lon += fast * kTwoThirds;
    lon += (20 * offsetSine(kPi * x) + 40 * offsetSine(kPiOver3 * x)) * kTwoThirds;
    lon += (150 * offsetSine(kPiOver12 * x) + 300 * offsetSine(kPiOver30 * x)) * kTwoThirds;

    double lat = 0.1 * x * y + (((x + x) - 100 + 3 * y) + 0.2 * y * y);
    lat += 0.2 * root;
    lat += fast * kTwoThirds;
    lat += (20 * offsetSine(kPi * y) + 40 * offsetSine(kPiOver3 * y)) * kTwoThirds;
    lat += (160 * offsetSine(kPiOver12 * y) + 320 * offsetSine(kPiOver30 * y)) * kTwoThirds;

    *lonTerm = lon;
    *latTerm = lat;
}

}  // namespace

double Gcj02NextJitter(double seed) {
    const double s = seed * 314159269 + 453806245;
    return (s - 2.0 * saturatingToInt32(s * 0.5)) * 0.5;
}

double OffsetSin(double angle) {
    return offsetSine(angle);
}

double OffsetLonTerm(double x, double y) {
    double lon = 0, lat = 0;
    offsetTerms(x, y, &lon, &lat);
    return lon;
}

double OffsetLatTerm(double x, double y) {
    double lon = 0, lat = 0;
    offsetTerms(x, y, &lon, &lat);
    return lat;
}

int Gcj02Encrypt(unsigned int mode, std::uint32_t longitude, std::uint32_t latitude, int height,
                 std::uint32_t /*reserved*/, std::uint32_t time, std::uint32_t* outLongitude,
                 std::uint32_t* outLatitude, Gcj02EncryptState& state) {
    const auto answer = [&](std::uint32_t lon, std::uint32_t lat, int code) {
        if (outLongitude) {
            *outLongitude = lon;
        }
        if (outLatitude) {
            *outLatitude = lat;
        }
        return code;
    };
    if (height >= 5001) {
        return answer(0, 0, kGcj02EncryptFailed);
    }
    const double lonDeg = longitude / kFixedPointPerDegree;
    const double latDeg = latitude / kFixedPointPerDegree;
    if (!(lonDeg >= 72.004 && lonDeg <= 137.8347 && latDeg >= 0.8293 && latDeg <= 55.8271)) {
        return answer(0, 0, kGcj02EncryptFailed);
    }

    if (mode == 0) {
        state.seed = time == 0 ? 0.3 : time - saturatingToInt32(time / 0.357) * 0.357;
        state.lastTime = state.curTime = time;
        state.lastLon = state.savedLon = longitude;
        state.lastLat = state.savedLat = latitude;
        state.counter = 3.0;
        return answer(longitude, latitude, 0);
    }

    if (!passSpeedGate(state, longitude, latitude, time)) {
        return answer(0, 0, kGcj02EncryptFailed);
    }

    const double x = lonDeg - 105;
    const double y = latDeg - 35;
    double dLon = 0, dLat = 0;
    offsetTerms(x, y, &dLon, &dLat);
    // The sine of time 0 is exactly 0, the series' own answer; most callers pass no time.
    const double tsin = time == 0 ? 0.0 : offsetSine(time * kOffsetDegreeToRadian);

    const double j1 = Gcj02NextJitter(state.seed);
    const double j2 = Gcj02NextJitter(j1);
    state.seed = j2;

    const double sinLat = offsetSine(latDeg * kOffsetDegreeToRadian);
    const double q = sinLat * (sinLat * -0.00669342) + 1;
    const double r = std::sqrt(q);
    const double h = height * 0.001;
    const double n = 6378245.0 / r;
    const double m = 6335552.7273521 / (r * q);
    const double cosLat = std::cos(latDeg * kOffsetDegreeToRadian);

    const double dLonDeg = (((h + dLon) + tsin) + j1) * 180 / ((n * cosLat) * 3.1415926);
    const double dLatDeg = (((h + dLat) + tsin) + j2) * 180 / (m * 3.1415926);
    return answer(saturatingToUInt32((lonDeg + dLonDeg) * kFixedPointPerDegree),
                  saturatingToUInt32((latDeg + dLatDeg) * kFixedPointPerDegree), 0);
}

int Ld09Encrypt(const LMPoint& gcj02, LMPoint* out) {
    if (!out) {
        return 0;
    }
    const double x = gcj02.x;
    const double y = gcj02.y;
    const double z = std::sqrt(x * x + y * y) + std::sin((y * 3000) * kLd09DegreeToRadian) * 2e-5;
    const double theta = std::atan2(y, x) + std::cos((x * 3000) * kLd09DegreeToRadian) * 3e-6;
    out->x = z * std::cos(theta) + 0.0065;
    out->y = z * std::sin(theta) + 0.006;
    return 1;
}

LMPoint ConvertByBand(const LMPoint& point, const LMCoefficientRow& c) {
    const double t = std::fabs(point.y) / c[9];
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double t4 = t3 * t;
    const double t5 = t4 * t;
    const double t6 = t5 * t;
    LMPoint result;
    result.x = (c[0] + c[1] * std::fabs(point.x)) * signOf(point.x);
    result.y =
        ((((((c[2] + c[3] * t) + c[4] * t2) + c[5] * t3) + c[6] * t4) + c[7] * t5) + c[8] * t6) *
        signOf(point.y);
    return result;
}

LMPoint Ld09LLToMC(const LMPoint& lonLat) {
    // The floor only steers the band choice, so the equator falls in the last band.
    const double absolute = std::fabs(lonLat.y);
    const double latitude = absolute < 1e-7 ? 1e-7 : absolute;  // NaN stays NaN
    for (std::size_t i = 0; i < LLBand.size(); ++i) {
        if (latitude > LLBand[i]) {
            return ConvertByBand(lonLat, LL2MCCoefficients[i]);
        }
    }
    return ConvertByBand(lonLat, LMCoefficientRow{});  // only a latitude that is not a number
}

LMPoint Ld09MCToLL(const LMPoint& mercator) {
    LMPoint p = mercator;
    p.x = clampToPlane(p.x);
    if (p.y >= 0 && p.y < kMinimumNorthing) {
        p.y = kMinimumNorthing;
    } else if (p.y < 0 && p.y > -kMinimumNorthing) {
        p.y = -kMinimumNorthing;
    } else {
        p.y = clampToPlane(p.y);
    }
    for (std::size_t i = 0; i < MCBand.size(); ++i) {
        if (std::fabs(p.y) > MCBand[i]) {
            return ConvertByBand(p, MC2LLCoefficients[i]);
        }
    }
    return ConvertByBand(p, LMCoefficientRow{});
}
