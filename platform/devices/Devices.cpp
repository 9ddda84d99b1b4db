#include "platform/devices/Devices.h"

#include "platform/devices/AddressBook.h"
#include "platform/devices/AudioSession.h"
#include "platform/devices/CaptureDevice.h"
#include "platform/devices/ImagePickerController.h"
#include "platform/devices/LocationDevice.h"
#include "platform/devices/MessageComposeViewController.h"
#include "platform/devices/Microphone.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/devices/SystemSounds.h"

namespace platform {

void resetDevices() {
    AddressBook::resetDevice();
    MessageComposeViewController::resetDevice();
    LocationDevice::shared().reset();
    CaptureDevice::resetDevice();
    SystemSounds::reset();
    ImagePickerController::resetDevice();
    PhotoLibrary::shared().reset();
    Microphone::shared().reset();
    AudioSession::sharedInstance().reset();
}

}  // namespace platform
