#pragma once

#include <memory>

#include "location/LMKLocationServiceDelegate.h"
#include "location/LMKUserLocation.h"

namespace platform {
class LocationManager;
}
class LMKLocationServiceInternal;

// The location SDK's public location service: one platform location manager, permission
// asked for as the application's Info.plist says, location and heading updates started and
// stopped on request, and every usable fix handed to the delegate in the vendor's LD-09
// datum. Main thread only; one running service at a time (the conversion's offset state is
// process-wide).
class LMKLocationService {
public:
    // Nothing when the location component does not match the base component's version.
    static std::unique_ptr<LMKLocationService> create();
    // A running service stops first, so a delegate still there hears didStopLocatingUser.
    ~LMKLocationService();
    LMKLocationService(const LMKLocationService&) = delete;
    LMKLocationService& operator=(const LMKLocationService&) = delete;

    // Always the same object, updated in place.
    std::shared_ptr<LMKUserLocation> userLocation() const;

    std::shared_ptr<LMKLocationServiceDelegate> delegate() const { return m_delegate.lock(); }
    // Held weakly: a delegate that has gone hears nothing.
    void setDelegate(std::weak_ptr<LMKLocationServiceDelegate> delegate);

    // Each setter passes its value on to the location manager.
    double distanceFilter() const { return m_distanceFilter; }
    void setDistanceFilter(double metres);
    double desiredAccuracy() const { return m_desiredAccuracy; }
    void setDesiredAccuracy(double metres);
    double headingFilter() const { return m_headingFilter; }
    void setHeadingFilter(double degrees);
    // Passed on from system 6.0 on.
    bool pausesLocationUpdatesAutomatically() const { return m_pausesLocationUpdatesAutomatically; }
    void setPausesLocationUpdatesAutomatically(bool pauses);
    // Passed on from system 9.0 on.
    bool allowsBackgroundLocationUpdates() const { return m_allowsBackgroundLocationUpdates; }
    void setAllowsBackgroundLocationUpdates(bool allows);

    // Both ignored while already running, respectively stopped.
    void startUserLocationService();
    void stopUserLocationService();
    bool isLocationing() const { return m_isLocationing; }

    // The manager the service drives, for inspection.
    const platform::LocationManager& locationManager() const { return *m_locationManager; }

    // Class-wide settings are not supported: the setters do nothing, the getters answer the
    // defaults whatever any service is set to.
    static void setLocationDistanceFilter(double) {}
    static void setLocationDesiredAccuracy(double) {}
    static double getCurrentLocationDistanceFilter();
    static double getCurrentLocationDesiredAccuracy();

private:
    LMKLocationService();
    static bool checkComponentVersions();
    void initLocationManager();

    std::shared_ptr<LMKLocationServiceInternal> m_internal;
    bool m_isLocationing = false;
    std::unique_ptr<platform::LocationManager> m_locationManager;
    bool m_pausesLocationUpdatesAutomatically = false;
    bool m_allowsBackgroundLocationUpdates = false;
    std::weak_ptr<LMKLocationServiceDelegate> m_delegate;
    double m_distanceFilter = 0;
    double m_desiredAccuracy = 0;
    double m_headingFilter = 0;
};
