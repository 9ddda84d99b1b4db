#include "location/engine/CComplexPt.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace _zizaz_vi {
namespace {

constexpr std::string_view kDigits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::int64_t kRelativeBias = 8388608;  // 2^23
constexpr int kAbsoluteDigits = 6;
constexpr int kRelativeDigits = 4;

std::optional<unsigned> digitValue(char c) {
    const auto at = kDigits.find(c);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<unsigned>(at);
}

void appendDigits(std::string& out, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        out.push_back(kDigits[value & 0x3f]);
        value >>= 6;
    }
}

void appendAbsolute(std::string& out, const _VPoint& p) {
    out.push_back('=');
    appendDigits(out, static_cast<std::uint32_t>(p.x), kAbsoluteDigits);
    appendDigits(out, static_cast<std::uint32_t>(p.y), kAbsoluteDigits);
}

// The 24-bit code of a step, or nothing when the step is too long for one.
std::optional<std::uint32_t> relativeCode(std::int64_t step) {
    if (step >= 0 && step <= kRelativeBias) {
        return static_cast<std::uint32_t>(step);
    }
    if (step < 0 && step > -kRelativeBias) {
        return static_cast<std::uint32_t>(kRelativeBias - step);
    }
    return std::nullopt;
}

bool appendPart(std::string& out, const CVArray<_VPoint>& part) {
    if (part.GetSize() == 0) {
        return false;
    }
    appendAbsolute(out, part[0]);
    for (int i = 1; i < part.GetSize(); ++i) {
        const auto dx = relativeCode(std::int64_t{part[i].x} - part[i - 1].x);
        const auto dy = relativeCode(std::int64_t{part[i].y} - part[i - 1].y);
        if (dx && dy) {
            appendDigits(out, *dx, kRelativeDigits);
            appendDigits(out, *dy, kRelativeDigits);
        } else {
            appendAbsolute(out, part[i]);
        }
    }
    out.push_back(';');
    return true;
}

// Reads geo-string digits from a text, front to back.
class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos == m_text.size(); }
    bool take(char c) {
        if (!atEnd() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    std::optional<std::uint32_t> digits(int count) {
        if (m_text.size() - m_pos < static_cast<std::size_t>(count)) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i) {
            const auto d = digitValue(m_text[m_pos + i]);
            if (!d) {
                return std::nullopt;
            }
            value |= std::uint64_t{*d} << (6 * i);
        }
        if (value > 0xffffffffu) {
            return std::nullopt;  // the top digit of an absolute value holds two bits only
        }
        m_pos += count;
        return static_cast<std::uint32_t>(value);
    }
    // "=" and twelve digits.
    std::optional<_VPoint> absolute() {
        if (!take('=')) {
            return std::nullopt;
        }
        const auto x = digits(kAbsoluteDigits);
        const auto y = x ? digits(kAbsoluteDigits) : std::nullopt;
        if (!y) {
            return std::nullopt;
        }
        return _VPoint{static_cast<std::int32_t>(*x), static_cast<std::int32_t>(*y)};
    }
    std::optional<std::int64_t> step() {
        const auto code = digits(kRelativeDigits);
        if (!code) {
            return std::nullopt;
        }
        return *code > kRelativeBias ? kRelativeBias - std::int64_t{*code} : std::int64_t{*code};
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// ".<absolute point>;" as one whole field.
std::optional<_VPoint> pointField(std::string_view field) {
    Reader reader(field);
    if (!reader.take('.')) {
        return std::nullopt;
    }
    const auto point = reader.absolute();
    if (!point || !reader.take(';') || !reader.atEnd()) {
        return std::nullopt;
    }
    return point;
}

std::optional<std::int32_t> addStep(std::int32_t from, std::int64_t step) {
    const std::int64_t to = from + step;
    if (to < INT32_MIN || to > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(to);
}

// The type character and the parts of a polyline or polygon.
bool readPointList(std::string_view field, int* type, std::vector<CVArray<_VPoint>>* parts) {
    Reader reader(field);
    if (reader.take('-')) {
        *type = CComplexPt::kPolyline;
    } else if (reader.take('*')) {
        *type = CComplexPt::kPolygon;
    } else {
        return false;
    }
    while (!reader.atEnd()) {
        CVArray<_VPoint> part;
        const auto first = reader.absolute();
        if (!first || part.Add(*first) < 0) {
            return false;
        }
        while (!reader.take(';')) {
            _VPoint next;
            if (const auto absolute = reader.absolute()) {
                next = *absolute;
            } else {
                const _VPoint& last = part[part.GetSize() - 1];
                const auto dx = reader.step();
                const auto dy = dx ? reader.step() : std::nullopt;
                const auto x = dy ? addStep(last.x, *dx) : std::nullopt;
                const auto y = x ? addStep(last.y, *dy) : std::nullopt;
                if (!y) {
                    return false;
                }
                next = {*x, *y};
            }
            if (part.Add(next) < 0) {
                return false;
            }
        }
        parts->push_back(std::move(part));
    }
    return !parts->empty();
}

}  // namespace

CComplexPt::CComplexPt(const _VPoint& point) : m_type(kPoint) {
    CVArray<_VPoint> part;
    part.Add(point);
    AddPart(part);
}

void CComplexPt::AddPart(const CVArray<_VPoint>& part) {
    for (int i = 0; i < part.GetSize(); ++i) {
        const bool first = m_parts.empty() && i == 0;
        m_min.x = first ? part[i].x : std::min(m_min.x, part[i].x);
        m_min.y = first ? part[i].y : std::min(m_min.y, part[i].y);
        m_max.x = first ? part[i].x : std::max(m_max.x, part[i].x);
        m_max.y = first ? part[i].y : std::max(m_max.y, part[i].y);
    }
    m_parts.push_back(part);
}

void CComplexPt::Clear() {
    *this = CComplexPt();
}

bool CComplexPt::DecodeGeoString(std::string_view geo) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto bar = geo.find('|', start);
        fields.push_back(geo.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos) {
            break;
        }
        start = bar + 1;
    }
    CComplexPt decoded;
    if (fields.size() == 1) {
        const auto point = pointField(fields[0]);
        if (!point) {
            return false;
        }
        decoded = CComplexPt(*point);
    } else if (fields.size() == 3) {
        const auto min = pointField(fields[0]);
        const auto max = pointField(fields[1]);
        if (!min || !max || !readPointList(fields[2], &decoded.m_type, &decoded.m_parts)) {
            return false;
        }
        decoded.m_min = *min;
        decoded.m_max = *max;
    } else {
        return false;
    }
    *this = std::move(decoded);
    return true;
}

int CComplexPt::WriteGeoString(std::string* out) const {
    if (!out) {
        return kNoOutput;
    }
    std::string text;
    if (m_type == kPoint) {
        if (m_parts.size() != 1 || m_parts[0].GetSize() != 1) {
            return kBadPointGeometry;
        }
        text.push_back('.');
        appendAbsolute(text, m_parts[0][0]);
        text.push_back(';');
    } else if (m_type == kPolyline || m_type == kPolygon) {
        if (m_parts.empty()) {
            return kNoParts;
        }
        text.push_back('.');
        appendAbsolute(text, m_min);
        text += ";|.";
        appendAbsolute(text, m_max);
        text += ";|";
        text.push_back(m_type == kPolyline ? '-' : '*');
        for (const auto& part : m_parts) {
            if (!appendPart(text, part)) {
                return kUnencodablePoints;
            }
        }
    } else {
        return kUnknownType;
    }
    *out = std::move(text);
    return static_cast<int>(out->size());
}

}  // namespace _zizaz_vi
