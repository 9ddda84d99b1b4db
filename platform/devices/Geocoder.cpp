#include "platform/devices/Geocoder.h"

#include "platform/devices/LocationManager.h"

namespace platform {

namespace {

Placemark place(double latitude, double longitude, const char* name, const char* thoroughfare,
                const char* subLocality) {
    return Placemark{Coordinate{latitude, longitude},
                     name,
                     thoroughfare,
                     subLocality,
                     "青澜市",
                     "云岭省",
                     "中国"};
}

}  // namespace

const std::vector<Placemark>& Geocoder::knownPlaces() {
    // Invented places around an invented campus.
    static const std::vector<Placemark> places = {
        place(30.3000, 120.0800, "兰溪校区图书馆", "学府路", "兰溪校区"),
        place(30.3045, 120.0862, "兰溪校区体育馆", "学府路", "兰溪校区"),
        place(30.2960, 120.0750, "兰溪校区东门", "明理路", "兰溪校区"),
        place(30.2600, 120.1300, "云岭湖公园", "湖滨路", "湖滨区"),
        place(30.2500, 120.1700, "青澜火车站", "站前路", "东城区"),
    };
    return places;
}

Geocoder::~Geocoder() {
    cancelGeocode();
}

void Geocoder::reverseGeocodeLocation(const Location& location, Completion completion) {
    const Placemark* nearest = nullptr;
    double nearestDistance = kMatchRadius;
    if (isValidCoordinate(location.coordinate)) {
        for (const auto& candidate : knownPlaces()) {
            double distance = distanceBetween(location.coordinate, candidate.coordinate);
            if (distance <= nearestDistance) {
                nearest = &candidate;
                nearestDistance = distance;
            }
        }
    }
    std::vector<Placemark> found;
    std::optional<DeviceError> error;
    if (nearest) {
        found.push_back(*nearest);
    } else {
        error = DeviceError{"location", static_cast<int>(LocationErrorCode::GeocodeFoundNoResult),
                            "no place is known near this location"};
    }
    std::erase_if(m_pending, [](const TaskHandle& handle) { return !handle.isPending(); });
    m_pending.push_back(RunLoop::main().postDelayed(
        Duration::zero(), [completion = std::move(completion), found, error] {
            if (completion) {
                completion(found, error);
            }
        }));
}

void Geocoder::cancelGeocode() {
    for (auto& handle : m_pending) {
        handle.cancel();
    }
    m_pending.clear();
}

bool Geocoder::isGeocoding() const {
    for (const auto& handle : m_pending) {
        if (handle.isPending()) {
            return true;
        }
    }
    return false;
}

}  // namespace platform
