#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "location/engine/CVArray.h"
#include "location/engine/VPoint.h"

namespace _zizaz_vi {

// A point, polyline or polygon of the engine: a bounding box and parts of integer points,
// with the compact text form the engine calls a geo string.
//
// Geo string: coordinates are digits of 6 bits in the standard Base64 alphabet, least
// significant first. An absolute point is "=" and six digits of x, six of y (32 bits each); a
// relative point is four digits of dx and four of dy (24 bits each, a value above 8388608
// standing for the negative 8388608 - value). "." opens a point, "-" a polyline, "*" a
// polygon; "|" separates fields. A point geometry is ".<point>;". A polyline or polygon is
// ".<min corner>;|.<max corner>;|" followed by its type character and its parts, each part an
// absolute first point, then relative points (absolute where a step is too long for 24 bits),
// and ";".
class CComplexPt {
public:
    enum Type { kPoint = 1, kPolyline = 2, kPolygon = 3 };

    // The writer's failure codes.
    static constexpr int kNoOutput = -1;
    static constexpr int kBadPointGeometry = -2;
    static constexpr int kNoParts = -3;
    static constexpr int kUnencodablePoints = -4;
    static constexpr int kUnknownType = -5;

    CComplexPt() = default;
    // A point geometry of one point.
    explicit CComplexPt(const _VPoint& point);
    virtual ~CComplexPt() = default;

    int GetType() const { return m_type; }
    void SetType(int type) { m_type = type; }
    const _VPoint& GetMin() const { return m_min; }
    const _VPoint& GetMax() const { return m_max; }
    int GetPartSize() const { return static_cast<int>(m_parts.size()); }
    const CVArray<_VPoint>& GetPart(int index) const { return m_parts[index]; }
    // Appends a part and widens the bounding box around its points.
    void AddPart(const CVArray<_VPoint>& part);
    void Clear();

    // Replaces this geometry with the decoded one; false (this one unchanged) when the text is
    // not a geo string.
    bool DecodeGeoString(std::string_view geo);
    // The length written, or one of the failure codes (nothing written then).
    int WriteGeoString(std::string* out) const;

private:
    int m_type = 0;
    _VPoint m_min;
    _VPoint m_max;
    std::vector<CVArray<_VPoint>> m_parts;
};

}  // namespace _zizaz_vi
