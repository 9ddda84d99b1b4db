#include "location/LMAppTools.h"

#include "location/CoordinateConversion.h"
#include "location/Saturating.h"

namespace {

// WGS-84 to GCJ-02 as the receiver's chain does it: through single precision and the fixed
// point of the offset transform. Where the transform fails (outside its region) the
// single-precision input goes on unoffset.
LMPoint wgs84ToGcj02(double longitude, double latitude) {
    float lon = static_cast<float>(longitude);
    float lat = static_cast<float>(latitude);
    const float lonScaled = lon * 3600.0f * 1024.0f;
    const float latScaled = lat * 3600.0f * 1024.0f;
    std::uint32_t outLon = 0;
    std::uint32_t outLat = 0;
    if (Gcj02Encrypt(1, saturatingToUInt32(lonScaled), saturatingToUInt32(latScaled), 0, 0, 0,
                     &outLon, &outLat) == 0) {
        lon = static_cast<float>(outLon / kFixedPointPerDegree);
        lat = static_cast<float>(outLat / kFixedPointPerDegree);
    }
    return {lon, lat};
}

}  // namespace

LMPoint LMAppTools::CoordinateEncrypt(double longitude, double latitude, int coorType) {
    LMPoint ld09;
    switch (static_cast<unsigned>(coorType)) {
        case kLd09LonLat:
            return Ld09LLToMC({longitude, latitude});
        case kLd09Mercator:
            return {longitude, latitude};
        case kWgs84LonLat:
            Ld09Encrypt(wgs84ToGcj02(longitude, latitude), &ld09);
            return Ld09LLToMC(ld09);
        case kGcj02LonLat:
            Ld09Encrypt({longitude, latitude}, &ld09);
            return Ld09LLToMC(ld09);
        default:
            return {};
    }
}

platform::Coordinate LMAppTools::Zizaz09LLEncrypt(double longitude, double latitude, int coorType) {
    LMPoint ld09;
    switch (coorType) {
        case kLd09Mercator:
            ld09 = Ld09MCToLL({longitude, latitude});
            break;
        case kWgs84LonLat:
            Ld09Encrypt(wgs84ToGcj02(longitude, latitude), &ld09);
            break;
        case kGcj02LonLat:
            Ld09Encrypt({longitude, latitude}, &ld09);
            break;
        default:
            return {};
    }
    return {ld09.y, ld09.x};
}
