#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/testing/DriverResult.h"

namespace frontend {

// What a `device ...` line asks of the device stand-ins, as a user of the phone would do it
// outside the client: move, turn, answer a permission prompt in the settings, add a contact,
// switch texting on, send or cancel the message on screen, fill the photo library, give the
// phone a camera, speak into the microphone.
struct DeviceCommand {
    enum class Action {
        Location,        // a fix at latitude, longitude (accuracy)
        Heading,         // degrees
        LocationAccess,  // access
        ContactsAccess,  // access
        AddContact,      // name, phones
        Messages,        // on
        MessageAnswer,   // answer
        Photos,          // path: the photo library's folder
        Camera,          // on, path (empty: a plain picture)
        Microphone,      // path (empty: silence)
    };
    enum class Access { Allow, Deny, Ask };
    enum class Answer { Send, Cancel, Fail };

    Action action = Action::Location;
    double latitude = 0;
    double longitude = 0;
    double accuracy = 0;
    double degrees = 0;
    Access access = Access::Allow;
    std::string name;
    std::vector<std::string> phones;
    bool on = false;
    Answer answer = Answer::Send;
    std::string path;
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
