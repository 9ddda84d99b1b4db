#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/devices/Location.h"
#include "platform/devices/LocationManagerDelegate.h"

namespace platform {

// Codes of DeviceError with the domain "location" (the geocoder's too).
enum class LocationErrorCode { LocationUnknown = 0, Denied = 1, GeocodeFoundNoResult = 8 };

// The phone's location manager. Every manager listens to the one device (LocationDevice):
// fixes reach a manager while it updates locations and location use is authorised and
// enabled, headings while it updates headings likewise; each passes the manager's distance or
// heading filter first. A manager that starts updating while location use is allowed is
// handed the device's latest fix or heading at once (later on the run loop, stamped with the
// time it was taken), then new ones as they come. Starting while location use is denied,
// restricted or switched off reports a Denied error. Callbacks go to the (weakly held) delegate on
// the main run loop; nothing reaches a manager once it is destroyed. Main thread only.
class LocationManager {
public:
    LocationManager();
    ~LocationManager();
    LocationManager(const LocationManager&) = delete;
    LocationManager& operator=(const LocationManager&) = delete;

    static LocationAuthorizationStatus authorizationStatus();
    static bool locationServicesEnabled();

    std::shared_ptr<LocationManagerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LocationManagerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    // While not determined, the device's user answers later (LocationDevice decides how);
    // every manager's delegate then hears the new status. Otherwise nothing happens.
    void requestWhenInUseAuthorization();
    void requestAlwaysAuthorization();

    void startUpdatingLocation();
    void stopUpdatingLocation();
    bool isUpdatingLocation() const { return m_updatingLocation; }
    void startUpdatingHeading();
    void stopUpdatingHeading();
    bool isUpdatingHeading() const { return m_updatingHeading; }

    double desiredAccuracy() const { return m_desiredAccuracy; }
    void setDesiredAccuracy(double metres) { m_desiredAccuracy = metres; }
    // A fix closer than this to the last one delivered is not delivered.
    double distanceFilter() const { return m_distanceFilter; }
    void setDistanceFilter(double metres) { m_distanceFilter = metres; }
    // A heading that turned less than this many degrees from the last one is not delivered.
    double headingFilter() const { return m_headingFilter; }
    void setHeadingFilter(double degrees) { m_headingFilter = degrees; }
    bool pausesLocationUpdatesAutomatically() const { return m_pausesAutomatically; }
    void setPausesLocationUpdatesAutomatically(bool pauses) { m_pausesAutomatically = pauses; }
    bool allowsBackgroundLocationUpdates() const { return m_allowsBackground; }
    void setAllowsBackgroundLocationUpdates(bool allows) { m_allowsBackground = allows; }

    // The last fix and heading delivered to this manager.
    const std::optional<Location>& location() const { return m_location; }
    const std::optional<Heading>& heading() const { return m_heading; }

private:
    friend class LocationDevice;
    void receive(const Location& location);
    void receive(const Heading& heading);
    void receive(const DeviceError& error);
    void authorizationChanged(LocationAuthorizationStatus status);

    uint64_t m_id{0};
    std::weak_ptr<LocationManagerDelegate> m_delegate;
    bool m_updatingLocation{false};
    bool m_updatingHeading{false};
    double m_desiredAccuracy{kLocationAccuracyBest};
    double m_distanceFilter{kDistanceFilterNone};
    double m_headingFilter{1};
    bool m_pausesAutomatically{true};
    bool m_allowsBackground{false};
    std::optional<Location> m_location;
    std::optional<Heading> m_heading;
    // A fix (heading) reached the delegate since updating last started: the device's
    // remembered one is then not handed over again.
    bool m_hasFixSinceStart{false};
    bool m_hasHeadingSinceStart{false};
};

}  // namespace platform
