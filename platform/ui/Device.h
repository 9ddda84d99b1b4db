#pragma once

#include "platform/ui/InterfaceOrientation.h"

namespace platform {

// The phone's UIDevice: how the stand-in device is held. Turning it posts
// "UIDeviceOrientationDidChangeNotification" and lets the interface follow where the top
// controller allows (InterfaceRotation). Main thread only.
class Device {
public:
    static Device& current();

    DeviceOrientation orientation() const { return m_orientation; }
    // The user turns the device (the front end's `device rotate`, tests).
    void setOrientation(DeviceOrientation orientation);

    // Upright again, without notifications; for tests between cases.
    void reset() { m_orientation = DeviceOrientation::Portrait; }

private:
    Device() = default;

    DeviceOrientation m_orientation{DeviceOrientation::Portrait};
};

}  // namespace platform
