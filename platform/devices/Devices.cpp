#include "platform/devices/Devices.h"

#include "platform/devices/AddressBook.h"
#include "platform/devices/CaptureDevice.h"
#include "platform/devices/LocationDevice.h"
#include "platform/devices/MessageComposeViewController.h"
#include "platform/devices/SystemSounds.h"

namespace platform {

void resetDevices() {
    AddressBook::resetDevice();
    MessageComposeViewController::resetDevice();
    LocationDevice::shared().reset();
    CaptureDevice::resetDevice();
    SystemSounds::reset();
}

}  // namespace platform
