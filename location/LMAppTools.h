#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "location/LMPoint.h"
#include "location/engine/CVString.h"
#include "platform/devices/Location.h"

// The location SDK's tool class: coordinate conversion for the location service, and the map
// engine's geo-string and digest utilities for the application side.
class LMAppTools {
public:
    // Coordinate kinds of the CoorType arguments.
    enum CoorType { kLd09LonLat = 0, kLd09Mercator = 1, kWgs84LonLat = 2, kGcj02LonLat = 3 };

    // A position of the given kind in LD-09 Mercator metres. WGS-84 input passes through
    // single precision and the offset transform's fixed-point grid before it is shifted; where
    // the offset does not apply (outside its region) the position is shifted unoffset. An
    // unknown kind answers {0, 0}.
    static LMPoint CoordinateEncrypt(double longitude, double latitude, int coorType);

    // A position in LD-09 degrees, as {latitude, longitude}: from Mercator metres (kind 1),
    // WGS-84 (2, through the same fixed point as above) or GCJ-02 (3). Any other kind answers
    // {0, 0}.
    static platform::Coordinate Zizaz09LLEncrypt(double longitude, double latitude, int coorType);

    // Decodes a geo string of at most one point. False when it does not decode, holds more,
    // or its point is 0, 0 (the point is still written then).
    static bool TransGeoToPoint(const std::string& geo, LMPoint* point);
    // The geo string of one point, kept to hundredths.
    static bool TransPointToGeo(const LMPoint& point, _zizaz_vi::CVString* outputGeo);
    // Appends every point of every part; false when the string does not decode.
    static bool TransGeoToPoints(const std::string& geo, std::vector<LMPoint>* points);
    // Appends one list of points per part.
    static bool TransGeoToPointsArray(const std::string& geo,
                                      std::vector<std::vector<LMPoint>>* pointsArray);

    // Keeps the file out of device backups. False for an empty path or a missing file.
    static bool addSkipBackupAttributeToItemAtURL(const std::filesystem::path& url);

    // Base64 of the input's narrow text followed by digits 5 to 14 of its MD5.
    static bool Md5AndBase64Encode(const _zizaz_vi::CVString& input, _zizaz_vi::CVString* output);
};
