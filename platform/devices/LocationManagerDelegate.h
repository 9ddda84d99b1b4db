#pragma once

#include <vector>

#include "platform/devices/DeviceError.h"
#include "platform/devices/Location.h"

namespace platform {

class LocationManager;

// Every callback is optional: the defaults do nothing. All arrive on the main run loop.
class LocationManagerDelegate {
public:
    virtual ~LocationManagerDelegate() = default;
    // New fixes, oldest first (the stand-in delivers one at a time).
    virtual void didUpdateLocations(LocationManager&, const std::vector<Location>&) {}
    virtual void didUpdateHeading(LocationManager&, const Heading&) {}
    virtual void didFailWithError(LocationManager&, const DeviceError&) {}
    virtual void didChangeAuthorizationStatus(LocationManager&, LocationAuthorizationStatus) {}
};

}  // namespace platform
