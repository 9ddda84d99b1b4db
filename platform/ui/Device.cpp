#include "platform/ui/Device.h"

#include "platform/foundation/Json.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/InterfaceRotation.h"

namespace platform {

Device& Device::current() {
    static Device device;
    return device;
}

void Device::setOrientation(DeviceOrientation orientation) {
    if (orientation == m_orientation) {
        return;
    }
    m_orientation = orientation;
    NotificationCenter::defaultCenter().post("UIDeviceOrientationDidChangeNotification",
                                             Json::object());
    InterfaceRotation::attemptRotationToDeviceOrientation();
}

}  // namespace platform
