#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/devices/DeviceError.h"
#include "platform/devices/Location.h"
#include "platform/devices/Placemark.h"
#include "platform/foundation/RunLoop.h"

namespace platform {

// The phone's reverse geocoder, answering from a small table of places instead of a service:
// the place nearest the location within kMatchRadius, else a GeocodeFoundNoResult error
// (domain "location"). The completion runs later on the main run loop, once. Cancelling, or
// destroying the geocoder, drops the answers still to come (nobody is called). Main thread
// only.
class Geocoder {
public:
    using Completion = std::function<void(const std::vector<Placemark>& placemarks,
                                          const std::optional<DeviceError>& error)>;
    static constexpr double kMatchRadius = 5000;  // metres

    Geocoder() = default;
    ~Geocoder();
    Geocoder(const Geocoder&) = delete;
    Geocoder& operator=(const Geocoder&) = delete;

    void reverseGeocodeLocation(const Location& location, Completion completion);
    void cancelGeocode();
    bool isGeocoding() const;

    // The table it answers from.
    static const std::vector<Placemark>& knownPlaces();

private:
    std::vector<TaskHandle> m_pending;
};

}  // namespace platform
