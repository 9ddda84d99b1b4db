#include "location/LMKMapView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "location/LMKUserLocation.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Font.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Metres a point covers at the equator at zoom level 0 (a 256-point world).
constexpr double kEquatorMetresPerPointAtZoom0 = 156543.03392804097;
constexpr double kMetresPerDegreeLatitude = 111320.0;
// The street grid's spacing, in metres, so it moves under the user as on a real map.
constexpr double kStreetSpacingMetres = 60;

const platform::Color kLand = platform::Color::rgba(0.94f, 0.93f, 0.89f);
const platform::Color kStreet = platform::Color::white();
const platform::Color kPin = platform::Color::rgba(0.86f, 0.2f, 0.18f);
const platform::Color kPinTitle = platform::Color::rgba(0.2f, 0.2f, 0.2f);
const platform::Color kUserDot = platform::Color::rgba(0.16f, 0.5f, 0.96f);
const platform::Color kAccuracyFill = platform::Color::rgba(0.16f, 0.5f, 0.96f, 0.15f);
const platform::Color kAccuracyStroke = platform::Color::rgba(0.16f, 0.5f, 0.96f, 0.4f);

std::string coordinateText(const platform::Coordinate& coordinate) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f, %.6f", coordinate.latitude, coordinate.longitude);
    return text;
}

std::string zoomText(float level) {
    char text[16];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(level));
    return text;
}

}  // namespace

LMKMapView::LMKMapView(const platform::Rect& frame) : platform::View(frame) {
    setBackgroundColor(kLand);
    setClipsToBounds(true);
}

void LMKMapView::setZoomLevel(float level) {
    if (std::isnan(level)) {
        return;
    }
    setDisplayed(m_zoomLevel, std::clamp(level, kMinZoomLevel, kMaxZoomLevel));
}

double LMKMapView::metresPerPoint() const {
    const double latitude = centerCoordinate().latitude * kPi / 180;
    return kEquatorMetresPerPointAtZoom0 * std::cos(latitude) /
           std::pow(2.0, static_cast<double>(m_zoomLevel));
}

platform::Coordinate LMKMapView::centerCoordinate() const {
    if (m_userTrackingMode != LMKUserTrackingMode::None && m_userLocation) {
        return m_userLocation->coordinate;
    }
    return m_center;
}

void LMKMapView::setCenterCoordinate(const platform::Coordinate& coordinate) {
    if (!platform::isValidCoordinate(coordinate)) {
        return;
    }
    m_center = coordinate;
    setNeedsDisplay();
}

void LMKMapView::updateLocationData(const LMKUserLocation& userLocation) {
    ++m_locationUpdateCount;
    if (const auto& location = userLocation.location();
        location && platform::isValidCoordinate(location->coordinate)) {
        m_userLocation = location;
    }
    if (userLocation.heading()) {
        m_userHeading = userLocation.heading();
    }
    // A fix moves the user's dot (and, while following, the whole map).
    setNeedsDisplay();
}

void LMKMapView::addAnnotation(std::shared_ptr<const platform::Annotation> annotation) {
    if (!annotation) {
        return;
    }
    m_annotations.push_back(std::move(annotation));
    setNeedsDisplay();
}

platform::Point LMKMapView::pointForCoordinate(const platform::Coordinate& coordinate) const {
    const platform::Coordinate center = centerCoordinate();
    const double scale = metresPerPoint();
    const double eastMetres = (coordinate.longitude - center.longitude) * kMetresPerDegreeLatitude *
                              std::cos(center.latitude * kPi / 180);
    const double northMetres = (coordinate.latitude - center.latitude) * kMetresPerDegreeLatitude;
    const platform::Rect area = bounds();
    return {area.midX() + eastMetres / scale, area.midY() - northMetres / scale};
}

void LMKMapView::draw(platform::BitmapContext& context, const platform::Rect& rect) {
    // The street grid, anchored to the ground: its lines pass through whole multiples of the
    // spacing east and north of the map's origin.
    const platform::Coordinate center = centerCoordinate();
    const double scale = metresPerPoint();
    const double spacing = kStreetSpacingMetres / scale;
    const double eastMetres =
        center.longitude * kMetresPerDegreeLatitude * std::cos(center.latitude * kPi / 180);
    const double northMetres = center.latitude * kMetresPerDegreeLatitude;
    const double firstX = rect.midX() - std::fmod(eastMetres, kStreetSpacingMetres) / scale;
    const double firstY = rect.midY() + std::fmod(northMetres, kStreetSpacingMetres) / scale;
    if (spacing >= 4) {
        for (double x = firstX - std::ceil((firstX - rect.minX()) / spacing) * spacing;
             x <= rect.maxX(); x += spacing) {
            context.strokeLine({x, rect.minY()}, {x, rect.maxY()}, kStreet, 3);
        }
        for (double y = firstY - std::ceil((firstY - rect.minY()) / spacing) * spacing;
             y <= rect.maxY(); y += spacing) {
            context.strokeLine({rect.minX(), y}, {rect.maxX(), y}, kStreet, 3);
        }
    }

    for (const auto& annotation : m_annotations) {
        const platform::Coordinate coordinate = annotation->coordinate();
        // An annotation may say anything about where it is; one that is nowhere is not drawn.
        if (!platform::isValidCoordinate(coordinate)) {
            continue;
        }
        const platform::Point at = pointForCoordinate(coordinate);
        context.strokeLine({at.x, at.y - 14}, at, kPin, 2);
        context.fillEllipse({{at.x - 6, at.y - 26}, {12, 12}}, kPin);
        const std::string title = annotation->title();
        if (!title.empty()) {
            context.drawText(title, platform::Font::systemFont(12), kPinTitle,
                             {{at.x + 9, at.y - 28}, {120, 16}}, platform::TextAlignment::Left, 1);
        }
    }

    if (!showsUserDot()) {
        return;
    }
    const platform::Point at = pointForCoordinate(m_userLocation->coordinate);
    if (m_displayParam.isAccuracyCircleShow && m_userLocation->horizontalAccuracy > 0) {
        const double radius = std::min(m_userLocation->horizontalAccuracy / scale,
                                       std::max(rect.size.width, rect.size.height));
        const platform::Rect circle{{at.x - radius, at.y - radius}, {2 * radius, 2 * radius}};
        context.fillEllipse(circle, m_displayParam.accuracyCircleFillColor.value_or(kAccuracyFill));
        context.strokeRoundedRect(
            circle, radius, m_displayParam.accuracyCircleStrokeColor.value_or(kAccuracyStroke), 1);
    }
    if (m_userHeading && m_displayParam.isRotateAngleValid) {
        const double degrees = m_userHeading->trueHeading >= 0 ? m_userHeading->trueHeading
                                                               : m_userHeading->magneticHeading;
        const double radians = degrees * kPi / 180;
        context.strokeLine(at, {at.x + 18 * std::sin(radians), at.y - 18 * std::cos(radians)},
                           kUserDot, 3);
    }
    context.fillEllipse({{at.x - 9, at.y - 9}, {18, 18}}, platform::Color::white());
    context.fillEllipse({{at.x - 6.5, at.y - 6.5}, {13, 13}}, kUserDot);
}

std::string LMKMapView::describe() const {
    std::string line = "map, zoom " + zoomText(m_zoomLevel);
    switch (m_userTrackingMode) {
        case LMKUserTrackingMode::None:
            line += ", centred on " + coordinateText(centerCoordinate());
            break;
        case LMKUserTrackingMode::Follow:
            line += ", following the user";
            break;
        case LMKUserTrackingMode::FollowWithHeading:
            line += ", following the user's heading";
            break;
    }
    if (showsUserDot()) {
        line += "; user dot at " + coordinateText(m_userLocation->coordinate);
    } else if (m_showsUserLocation) {
        line += "; no user location yet";
    }
    if (!m_annotations.empty()) {
        line += "; pins:";
        for (const auto& annotation : m_annotations) {
            const std::string title = annotation->title();
            line += " " + (title.empty() ? coordinateText(annotation->coordinate()) : title);
        }
    }
    return line;
}
