// The tool class's engine utilities: geo strings, backup exclusion and the digest text.

#include "location/LMAppTools.h"
#include "location/Saturating.h"
#include "location/engine/CComplexPt.h"
#include "location/engine/CVCodePage.h"
#include "location/engine/MD5.h"
#include "platform/foundation/Crypto.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/ui/Application.h"

using _zizaz_vi::CComplexPt;
using _zizaz_vi::CVCodePage;
using _zizaz_vi::CVString;

namespace {

LMPoint fromHundredths(const _zizaz_vi::_VPoint& p) {
    return {p.x / 100.0, p.y / 100.0};
}

}  // namespace

bool LMAppTools::TransGeoToPoint(const std::string& geo, LMPoint* point) {
    CComplexPt geometry;
    if (!point || !geometry.DecodeGeoString(geo) || geometry.GetPartSize() > 1) {
        return false;
    }
    if (geometry.GetPartSize() == 1) {
        const auto& part = geometry.GetPart(0);
        if (part.GetSize() > 1) {
            return false;
        }
        if (part.GetSize() == 1) {
            *point = fromHundredths(part[0]);
        }
    }
    return !(point->x == 0 && point->y == 0);
}

bool LMAppTools::TransPointToGeo(const LMPoint& point, CVString* outputGeo) {
    // Hundredths saturate: a coordinate past the integer range (or not a number) must not
    // become undefined behaviour.
    const CComplexPt geometry({saturatingToInt32(point.x * 100), saturatingToInt32(point.y * 100)});
    std::string text;
    if (!outputGeo || geometry.WriteGeoString(&text) <= 0) {
        return false;
    }
    *outputGeo = CVString(text.c_str());
    return true;
}

bool LMAppTools::TransGeoToPoints(const std::string& geo, std::vector<LMPoint>* points) {
    CComplexPt geometry;
    if (!points || !geometry.DecodeGeoString(geo)) {
        return false;
    }
    for (int i = 0; i < geometry.GetPartSize(); ++i) {
        const auto& part = geometry.GetPart(i);
        for (int j = 0; j < part.GetSize(); ++j) {
            points->push_back(fromHundredths(part[j]));
        }
    }
    return true;
}

bool LMAppTools::TransGeoToPointsArray(const std::string& geo,
                                       std::vector<std::vector<LMPoint>>* pointsArray) {
    CComplexPt geometry;
    if (!pointsArray || !geometry.DecodeGeoString(geo)) {
        return false;
    }
    for (int i = 0; i < geometry.GetPartSize(); ++i) {
        std::vector<LMPoint> points;
        const auto& part = geometry.GetPart(i);
        for (int j = 0; j < part.GetSize(); ++j) {
            points.push_back(fromHundredths(part[j]));
        }
        pointsArray->push_back(std::move(points));
    }
    return true;
}

bool LMAppTools::addSkipBackupAttributeToItemAtURL(const std::filesystem::path& url) {
    if (url.empty()) {
        return false;
    }
    if (platform::Application::shared().systemVersionNumber() < 5.1) {
        // Older systems read a one-byte extended attribute of their own instead.
        return platform::setExtendedAttribute(url, "MobileBackup", std::string_view("\x01", 1));
    }
    return platform::setExcludedFromBackup(url, true);
}

bool LMAppTools::Md5AndBase64Encode(const CVString& input, CVString* output) {
    if (!output) {
        return false;
    }
    const std::string narrow =
        CVCodePage::WideCharToMultiByte(CVCodePage::kDoubleByte, input.view());
    const std::string digest = _zizaz_vi::MD5::HexDigest(narrow);
    if (digest.size() != 32) {
        return false;
    }
    *output = CVString(platform::base64Encode(narrow + digest.substr(5, 10)).c_str());
    return true;
}
