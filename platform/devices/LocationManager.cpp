#include "platform/devices/LocationManager.h"

#include <cmath>

#include "platform/devices/LocationDevice.h"

namespace platform {

LocationManager::LocationManager() : m_id(LocationDevice::shared().add(this)) {}

LocationManager::~LocationManager() {
    LocationDevice::shared().remove(m_id);
}

LocationAuthorizationStatus LocationManager::authorizationStatus() {
    return LocationDevice::shared().authorizationStatus();
}

bool LocationManager::locationServicesEnabled() {
    return LocationDevice::shared().locationServicesEnabled();
}

void LocationManager::requestWhenInUseAuthorization() {
    LocationDevice::shared().requestAuthorization(LocationAuthorizationStatus::AuthorizedWhenInUse);
}

void LocationManager::requestAlwaysAuthorization() {
    LocationDevice::shared().requestAuthorization(LocationAuthorizationStatus::AuthorizedAlways);
}

void LocationManager::startUpdatingLocation() {
    m_updatingLocation = true;
    m_hasFixSinceStart = false;
    auto& device = LocationDevice::shared();
    // A phone hands the fix it has at once, though always on a later turn of the loop.
    RunLoop::main().post([id = m_id] { LocationDevice::shared().handOverLatest(id); });
    // Not determined: the fixes come once the user allows; refused: the delegate is told.
    if (!device.allowsUpdates() &&
        device.authorizationStatus() != LocationAuthorizationStatus::NotDetermined) {
        RunLoop::main().post([id = m_id] {
            LocationDevice::shared().forEachManager([id](LocationManager& manager) {
                if (manager.m_id == id && manager.m_updatingLocation) {
                    manager.receive(DeviceError{"location",
                                                static_cast<int>(LocationErrorCode::Denied),
                                                "location use is not allowed"});
                }
            });
        });
    }
}

void LocationManager::stopUpdatingLocation() {
    m_updatingLocation = false;
}

void LocationManager::startUpdatingHeading() {
    m_updatingHeading = true;
    m_hasHeadingSinceStart = false;
    RunLoop::main().post([id = m_id] { LocationDevice::shared().handOverLatest(id); });
}

void LocationManager::stopUpdatingHeading() {
    m_updatingHeading = false;
}

void LocationManager::receive(const Location& location) {
    if (!m_updatingLocation || !LocationDevice::shared().allowsUpdates()) {
        return;
    }
    if (m_distanceFilter > 0 && m_location &&
        distanceBetween(m_location->coordinate, location.coordinate) < m_distanceFilter) {
        return;
    }
    m_location = location;
    m_hasFixSinceStart = true;
    if (auto delegate = m_delegate.lock()) {
        delegate->didUpdateLocations(*this, {location});
    }
}

void LocationManager::receive(const Heading& heading) {
    if (!m_updatingHeading || !LocationDevice::shared().allowsUpdates()) {
        return;
    }
    if (m_headingFilter > 0 && m_heading) {
        double turned =
            std::fabs(std::remainder(heading.magneticHeading - m_heading->magneticHeading, 360.0));
        if (turned < m_headingFilter) {
            return;
        }
    }
    m_heading = heading;
    m_hasHeadingSinceStart = true;
    if (auto delegate = m_delegate.lock()) {
        delegate->didUpdateHeading(*this, heading);
    }
}

void LocationManager::receive(const DeviceError& error) {
    if (!m_updatingLocation && !m_updatingHeading) {
        return;
    }
    if (auto delegate = m_delegate.lock()) {
        delegate->didFailWithError(*this, error);
    }
}

void LocationManager::authorizationChanged(LocationAuthorizationStatus status) {
    // Once allowed again, the manager is handed the latest fix and heading afresh.
    if (!LocationDevice::shared().allowsUpdates()) {
        m_hasFixSinceStart = false;
        m_hasHeadingSinceStart = false;
    }
    if (auto delegate = m_delegate.lock()) {
        delegate->didChangeAuthorizationStatus(*this, status);
    }
}

}  // namespace platform
