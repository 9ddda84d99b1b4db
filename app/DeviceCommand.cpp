#include "app/DeviceCommand.h"

#include <cmath>
#include <cstdlib>

#include "platform/devices/AddressBook.h"
#include "platform/devices/CaptureDevice.h"
#include "platform/devices/ImagePickerController.h"
#include "platform/devices/LocationDevice.h"
#include "platform/devices/MessageComposeViewController.h"
#include "platform/devices/Microphone.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/foundation/CheckedTime.h"
#include "platform/ui/Device.h"

namespace frontend {

namespace {

using platform::testing::DriverResult;

constexpr const char* kUsage =
    "device location LAT LON [ACCURACY], device location allow|deny|ask, device location "
    "replay FILE SECONDS, device heading "
    "DEGREES, device contacts allow|deny|ask, device contacts add NAME PHONE..., device "
    "messages on|off|send|cancel|fail, device scan FILE|allow|deny|ask, device photos DIR, device "
    "camera on|off|FILE, device microphone FILE|silence, device rotate "
    "portrait|landscape-left|landscape-right|upside-down";

std::optional<double> parseNumber(const std::string& word) {
    if (word.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    double value = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<DeviceCommand::Access> parseAccess(const std::string& word) {
    if (word == "allow") {
        return DeviceCommand::Access::Allow;
    }
    if (word == "deny") {
        return DeviceCommand::Access::Deny;
    }
    if (word == "ask") {
        return DeviceCommand::Access::Ask;
    }
    return std::nullopt;
}

// Digits with the signs people write numbers with; anything else is surely a slip.
bool isPhoneNumber(const std::string& word) {
    if (word.empty()) {
        return false;
    }
    for (char c : word) {
        if (!std::isdigit(static_cast<unsigned char>(c)) &&
            std::string_view("+-() #*").find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::optional<DeviceCommand> failure(std::string& error, std::string reason) {
    error = std::move(reason);
    return std::nullopt;
}

std::optional<DeviceCommand> parseLocation(const std::vector<std::string>& words,
                                           std::string& error) {
    DeviceCommand command;
    if (words.size() >= 2 && words[1] == "replay") {
        if (words.size() != 4) {
            return failure(error, "usage: device location replay FILE SECONDS");
        }
        auto interval = parseNumber(words[3]);
        // Times past the clock's range are refused here, not wrapped round later.
        if (!interval || *interval <= 0 ||
            !platform::durationFromSeconds<platform::Duration>(*interval)) {
            return failure(error, "not a time between fixes in seconds: \"" + words[3] + "\"");
        }
        command.action = DeviceCommand::Action::LocationReplay;
        command.path = words[2];
        command.interval = *interval;
        return command;
    }
    if (words.size() == 2) {
        auto access = parseAccess(words[1]);
        if (!access) {
            return failure(error,
                           "device location allow|deny|ask, or device location LAT LON "
                           "[ACCURACY], not \"" +
                               words[1] + "\"");
        }
        command.action = DeviceCommand::Action::LocationAccess;
        command.access = *access;
        return command;
    }
    if (words.size() != 3 && words.size() != 4) {
        return failure(error,
                       "usage: device location LAT LON [ACCURACY] or device location "
                       "allow|deny|ask");
    }
    auto latitude = parseNumber(words[1]);
    auto longitude = parseNumber(words[2]);
    if (!latitude || !longitude ||
        !platform::isValidCoordinate(platform::Coordinate{*latitude, *longitude})) {
        return failure(error, "not a position: \"" + words[1] + " " + words[2] +
                                  "\" (latitude -90 to 90, longitude -180 to 180)");
    }
    command.latitude = *latitude;
    command.longitude = *longitude;
    command.accuracy = platform::kFedFixAccuracy;
    if (words.size() == 4) {
        auto accuracy = parseNumber(words[3]);
        if (!accuracy || *accuracy < 0) {
            return failure(error, "not an accuracy in metres: \"" + words[3] + "\"");
        }
        command.accuracy = *accuracy;
    }
    return command;
}

}  // namespace

std::optional<DeviceCommand> parseDeviceCommand(const std::vector<std::string>& words,
                                                std::string& error) {
    if (words.empty()) {
        return failure(error, std::string("missing argument: ") + kUsage);
    }
    const std::string& device = words[0];
    DeviceCommand command;
    if (device == "location") {
        return parseLocation(words, error);
    }
    if (device == "heading") {
        auto degrees = words.size() == 2 ? parseNumber(words[1]) : std::nullopt;
        if (!degrees || *degrees < 0 || *degrees >= 360) {
            return failure(error, "usage: device heading DEGREES (0 up to 360)");
        }
        command.action = DeviceCommand::Action::Heading;
        command.degrees = *degrees;
        return command;
    }
    if (device == "contacts") {
        if (words.size() >= 2 && words[1] == "add") {
            if (words.size() < 4) {
                return failure(error,
                               "usage: device contacts add NAME PHONE... (quote a name "
                               "or number with spaces)");
            }
            for (size_t i = 3; i < words.size(); ++i) {
                if (!isPhoneNumber(words[i])) {
                    return failure(error, "not a phone number: \"" + words[i] + "\"");
                }
            }
            command.action = DeviceCommand::Action::AddContact;
            command.name = words[2];
            command.phones.assign(words.begin() + 3, words.end());
            return command;
        }
        auto access = words.size() == 2 ? parseAccess(words[1]) : std::nullopt;
        if (!access) {
            return failure(error,
                           "usage: device contacts allow|deny|ask or device contacts add "
                           "NAME PHONE...");
        }
        command.action = DeviceCommand::Action::ContactsAccess;
        command.access = *access;
        return command;
    }
    if (device == "messages" && words.size() == 2) {
        const std::string& word = words[1];
        if (word == "on" || word == "off") {
            command.action = DeviceCommand::Action::Messages;
            command.on = word == "on";
            return command;
        }
        command.action = DeviceCommand::Action::MessageAnswer;
        if (word == "send") {
            command.answer = DeviceCommand::Answer::Send;
            return command;
        }
        if (word == "cancel") {
            command.answer = DeviceCommand::Answer::Cancel;
            return command;
        }
        if (word == "fail") {
            command.answer = DeviceCommand::Answer::Fail;
            return command;
        }
    }
    if (device == "messages") {
        return failure(error, "usage: device messages on|off|send|cancel|fail");
    }
    if (device == "scan") {
        if (words.size() != 2 || words[1].empty()) {
            return failure(error,
                           "usage: device scan FILE (a PNG or JPEG image) or device scan "
                           "allow|deny|ask");
        }
        if (auto access = parseAccess(words[1])) {
            command.action = DeviceCommand::Action::CameraAccess;
            command.access = *access;
            return command;
        }
        command.action = DeviceCommand::Action::ScanFrame;
        command.path = words[1];
        return command;
    }
    if (device == "photos") {
        if (words.size() != 2) {
            return failure(error, "usage: device photos DIR (a folder of PNG and JPEG files)");
        }
        command.action = DeviceCommand::Action::Photos;
        command.path = words[1];
        return command;
    }
    if (device == "camera") {
        if (words.size() != 2) {
            return failure(error, "usage: device camera on|off|FILE (a PNG or JPEG picture)");
        }
        command.action = DeviceCommand::Action::Camera;
        command.on = words[1] != "off";
        if (words[1] != "on" && words[1] != "off") {
            command.path = words[1];
        }
        return command;
    }
    if (device == "microphone") {
        if (words.size() != 2) {
            return failure(error, "usage: device microphone FILE|silence (a sound file)");
        }
        command.action = DeviceCommand::Action::Microphone;
        if (words[1] != "silence") {
            command.path = words[1];
        }
        return command;
    }
    if (device == "rotate") {
        auto orientation =
            words.size() == 2 ? platform::parseDeviceOrientation(words[1]) : std::nullopt;
        if (!orientation || !platform::interfaceOrientationFor(*orientation)) {
            return failure(error,
                           "usage: device rotate portrait|landscape-left|landscape-right|"
                           "upside-down");
        }
        command.action = DeviceCommand::Action::Rotate;
        command.orientation = *orientation;
        return command;
    }
    return failure(error, "unknown device: \"" + device + "\" (" + kUsage + ")");
}

DriverResult performDeviceCommand(const DeviceCommand& command) {
    using Action = DeviceCommand::Action;
    using Access = DeviceCommand::Access;
    switch (command.action) {
        case Action::Location: {
            platform::Location fix;
            fix.coordinate = {command.latitude, command.longitude};
            fix.horizontalAccuracy = command.accuracy;
            platform::LocationDevice::shared().injectLocation(fix);
            break;
        }
        case Action::LocationReplay: {
            std::string error;
            if (!platform::LocationDevice::shared().replayFile(
                    command.path, platform::seconds(command.interval), &error)) {
                return DriverResult::failure(error);
            }
            break;
        }
        case Action::Heading: {
            platform::Heading heading;
            heading.magneticHeading = command.degrees;
            heading.trueHeading = command.degrees;
            platform::LocationDevice::shared().injectHeading(heading);
            break;
        }
        case Action::LocationAccess:
            platform::LocationDevice::shared().setAuthorizationStatus(
                command.access == Access::Allow
                    ? platform::LocationAuthorizationStatus::AuthorizedWhenInUse
                : command.access == Access::Deny
                    ? platform::LocationAuthorizationStatus::Denied
                    : platform::LocationAuthorizationStatus::NotDetermined);
            break;
        case Action::ContactsAccess:
            platform::AddressBook::setAuthorizationStatus(
                command.access == Access::Allow  ? platform::ContactsAuthorization::Authorized
                : command.access == Access::Deny ? platform::ContactsAuthorization::Denied
                                                 : platform::ContactsAuthorization::NotDetermined);
            break;
        case Action::AddContact: {
            // Added by the phone's owner, as in the phone's own contacts: no permission asked.
            platform::Contact contact;
            contact.lastName = command.name;
            for (const auto& phone : command.phones) {
                contact.phones.push_back({platform::kContactLabelMobile, phone});
            }
            std::string error;
            if (!platform::ContactStore().add(contact, &error)) {
                return DriverResult::failure(error);
            }
            break;
        }
        case Action::Messages:
            platform::MessageComposeViewController::setCanSendText(command.on);
            break;
        case Action::MessageAnswer: {
            auto result = command.answer == DeviceCommand::Answer::Send
                              ? platform::MessageComposeResult::Sent
                          : command.answer == DeviceCommand::Answer::Cancel
                              ? platform::MessageComposeResult::Cancelled
                              : platform::MessageComposeResult::Failed;
            // The phone's user cannot send a blank message: its 发送 is disabled.
            auto open = platform::MessageComposeViewController::openComposer();
            if (open && result == platform::MessageComposeResult::Sent && !open->hasMessage()) {
                return DriverResult::failure("the message is blank: type its body first");
            }
            if (!platform::MessageComposeViewController::finishOpenComposer(result)) {
                return DriverResult::failure("no message is being written");
            }
            break;
        }
        case Action::ScanFrame: {
            std::string error;
            if (!platform::CaptureDevice::showFrameFile(command.path, &error)) {
                return DriverResult::failure(error);
            }
            break;
        }
        case Action::Photos: {
            std::string error;
            if (!platform::PhotoLibrary::shared().setFolder(command.path, &error)) {
                return DriverResult::failure(error);
            }
            break;
        }
        case Action::CameraAccess:
            platform::CaptureDevice::setAuthorizationStatus(
                command.access == Access::Allow  ? platform::CaptureAuthorization::Authorized
                : command.access == Access::Deny ? platform::CaptureAuthorization::Denied
                                                 : platform::CaptureAuthorization::NotDetermined);
            break;
        case Action::Camera: {
            std::string error;
            std::optional<std::filesystem::path> file;
            if (!command.path.empty()) {
                file = command.path;
            }
            if (!platform::ImagePickerController::setCamera(command.on, file, &error)) {
                return DriverResult::failure(error);
            }
            break;
        }
        case Action::Microphone: {
            if (command.path.empty()) {
                platform::Microphone::shared().setSilence();
                break;
            }
            std::string error;
            if (!platform::Microphone::shared().setSourceFile(command.path, &error)) {
                return DriverResult::failure(error);
            }
            break;
        }
        case Action::Rotate: {
            // Not a failure when the screen on top stays as it is: the outline says which
            // way it shows.
            platform::Device::current().setOrientation(command.orientation);
            break;
        }
    }
    return DriverResult::success();
}

std::string deviceCommandHelp() {
    return "  device location LAT LON [ACCURACY]  the phone is there (accuracy in metres)\n"
           "  device location allow|deny|ask      location permission (ask: not given yet)\n"
           "  device location replay FILE SECONDS the phone moves through the file's fixes\n"
           "                                      (LAT LON [ACCURACY] a line), one each SECONDS\n"
           "  device heading DEGREES              the phone points that way\n"
           "  device contacts allow|deny|ask      contacts permission\n"
           "  device contacts add NAME PHONE...   a contact in the phone's address book\n"
           "  device messages on|off              whether the phone can send texts\n"
           "  device messages send|cancel|fail    answer the text message on screen\n"
           "  device scan FILE                    hold the image (PNG/JPEG) up to the camera\n"
           "  device scan allow|deny|ask          camera permission (ask: not given yet)\n"
           "  device photos DIR                   the photo library is this folder's pictures\n"
           "  device camera on|off|FILE           a camera (FILE: it shows that picture)\n"
           "  device microphone FILE|silence      what the microphone hears\n"
           "  device rotate portrait|landscape-left|landscape-right|upside-down\n"
           "                                      turn the phone; the screen follows where the\n"
           "                                      screen on top allows it\n";
}

}  // namespace frontend
