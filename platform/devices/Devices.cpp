#include "platform/devices/Devices.h"

#include "platform/devices/AddressBook.h"
#include "platform/devices/LocationDevice.h"
#include "platform/devices/MessageComposeViewController.h"

namespace platform {

void resetDevices() {
    AddressBook::resetDevice();
    MessageComposeViewController::resetDevice();
    LocationDevice::shared().reset();
}

}  // namespace platform
