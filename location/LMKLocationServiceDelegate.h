#pragma once

#include "platform/devices/DeviceError.h"

class LMKUserLocation;

// What a location service tells its application. Every callback is optional: the defaults
// let the event pass. All arrive on the main thread.
class LMKLocationServiceDelegate {
public:
    virtual ~LMKLocationServiceDelegate() = default;
    // A start begins, before updates are requested.
    virtual void willStartLocatingUser() {}
    // A stop has finished.
    virtual void didStopLocatingUser() {}
    virtual void didUpdateUserHeading(LMKUserLocation&) {}
    // An accepted fix, its coordinate converted to the vendor's datum.
    virtual void didUpdateLMKUserLocation(LMKUserLocation&) {}
    // The location manager's error, unchanged (a refused permission included).
    virtual void didFailToLocateUserWithError(const platform::DeviceError&) {}
};
