#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/testing/DriverResult.h"
#include "platform/ui/InterfaceOrientation.h"

namespace frontend {

// What a `device ...` line asks of the device stand-ins, as a user of the phone would do it
// outside the client: move, turn, answer a permission prompt in the settings, add a contact,
// switch texting on, send or cancel the message on screen, fill the photo library, give the
// phone a camera, speak into the microphone, turn the phone.
struct DeviceCommand {
    enum class Action {
        Location,        // a fix at latitude, longitude (accuracy)
        LocationReplay,  // the fixes of the file at path, one each interval
        Heading,         // degrees
        LocationAccess,  // access
        ContactsAccess,  // access
        AddContact,      // name, phones
        Messages,        // on
        MessageAnswer,   // answer
        ScanFrame,       // path: an image file held up to the camera
        CameraAccess,    // access
        Photos,          // path: the photo library's folder
        Camera,          // on, path (empty: a plain picture)
        Microphone,      // path (empty: silence)
        Rotate,          // orientation
    };
    enum class Access { Allow, Deny, Ask };
    enum class Answer { Send, Cancel, Fail };

    Action action = Action::Location;
    double latitude = 0;
    double longitude = 0;
    double accuracy = 0;
    double degrees = 0;
    std::string path;     // a file or folder: fixes to replay, a camera frame, photos, a sound
    double interval = 0;  // seconds
    Access access = Access::Allow;
    std::string name;
    std::vector<std::string> phones;
    bool on = false;
    Answer answer = Answer::Send;
    platform::DeviceOrientation orientation = platform::DeviceOrientation::Portrait;
};

// Reads the words after "device"; nothing, with a one-line reason, when they are not one of
// the device commands.
std::optional<DeviceCommand> parseDeviceCommand(const std::vector<std::string>& arguments,
                                                std::string& error);

// Does it to the device stand-ins. What the client does in return happens on the run loop.
platform::testing::DriverResult performDeviceCommand(const DeviceCommand& command);

// The help lines of the device commands.
std::string deviceCommandHelp();

}  // namespace frontend
