#pragma once

#include <memory>
#include <vector>

#include "location/LMKLocationServiceDelegate.h"
#include "location/LMKUserLocation.h"
#include "platform/devices/LocationManagerDelegate.h"

// The location manager's delegate and, at the same time, the user location the application
// sees: each usable fix is converted from WGS-84 into the vendor's LD-09 datum and stored
// here before the application's delegate hears of it.
class LMKLocationServiceInternal : public LMKUserLocation,
                                   public platform::LocationManagerDelegate {
public:
    std::shared_ptr<LMKLocationServiceDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<LMKLocationServiceDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // Whether the service is running: fixes still queued in one delivery stop being handled
    // as soon as the service stops (perhaps from inside a callback).
    void setActive(bool active) { m_active = active; }

    const platform::Coordinate& curGPSCoordinate() const { return m_curGPSCoordinate; }
    const platform::Coordinate& curBDCoordinate() const { return m_curBDCoordinate; }

    // The stand-in manager delivers fixes as a list; each is handled on its own, oldest first.
    void didUpdateLocations(platform::LocationManager& manager,
                            const std::vector<platform::Location>& locations) override;
    void didUpdateHeading(platform::LocationManager& manager,
                          const platform::Heading& heading) override;
    void didFailWithError(platform::LocationManager& manager,
                          const platform::DeviceError& error) override;

private:
    void didUpdateToLocation(const platform::Location& location);

    platform::Coordinate m_curGPSCoordinate;
    platform::Coordinate m_curBDCoordinate;
    // Whether m_curGPSCoordinate holds a fix yet: a first fix at exactly 0, 0 must be converted
    // like any other, not mistaken for the starting value.
    bool m_hasConverted = false;
    bool m_active = false;
    std::weak_ptr<LMKLocationServiceDelegate> m_delegate;
};
