#include "platform/ui/InterfaceOrientation.h"

#include <utility>

#include "platform/foundation/Json.h"

namespace platform {

std::optional<InterfaceOrientation> interfaceOrientationFor(DeviceOrientation orientation) {
    switch (orientation) {
        case DeviceOrientation::Portrait:
            return InterfaceOrientation::Portrait;
        case DeviceOrientation::PortraitUpsideDown:
            return InterfaceOrientation::PortraitUpsideDown;
        case DeviceOrientation::LandscapeLeft:
            return InterfaceOrientation::LandscapeRight;
        case DeviceOrientation::LandscapeRight:
            return InterfaceOrientation::LandscapeLeft;
        default:
            return std::nullopt;
    }
}

std::string orientationName(DeviceOrientation orientation) {
    switch (orientation) {
        case DeviceOrientation::Portrait:
            return "portrait";
        case DeviceOrientation::PortraitUpsideDown:
            return "upside-down";
        case DeviceOrientation::LandscapeLeft:
            return "landscape-left";
        case DeviceOrientation::LandscapeRight:
            return "landscape-right";
        case DeviceOrientation::FaceUp:
            return "face-up";
        case DeviceOrientation::FaceDown:
            return "face-down";
        case DeviceOrientation::Unknown:
            break;
    }
    return "unknown";
}

std::string orientationName(InterfaceOrientation orientation) {
    switch (orientation) {
        case InterfaceOrientation::Portrait:
            return "portrait";
        case InterfaceOrientation::PortraitUpsideDown:
            return "upside-down";
        case InterfaceOrientation::LandscapeLeft:
            return "landscape-left";
        case InterfaceOrientation::LandscapeRight:
            return "landscape-right";
        case InterfaceOrientation::Unknown:
            break;
    }
    return "unknown";
}

std::optional<DeviceOrientation> parseDeviceOrientation(const std::string& word) {
    for (auto orientation : {DeviceOrientation::Portrait, DeviceOrientation::PortraitUpsideDown,
                             DeviceOrientation::LandscapeLeft, DeviceOrientation::LandscapeRight,
                             DeviceOrientation::FaceUp, DeviceOrientation::FaceDown}) {
        if (orientationName(orientation) == word) {
            return orientation;
        }
    }
    return std::nullopt;
}

std::optional<InterfaceOrientationMask> orientationMaskFromInfoList(const Json& list) {
    static const std::pair<const char*, InterfaceOrientation> kNames[] = {
        {"UIInterfaceOrientationPortrait", InterfaceOrientation::Portrait},
        {"UIInterfaceOrientationPortraitUpsideDown", InterfaceOrientation::PortraitUpsideDown},
        {"UIInterfaceOrientationLandscapeLeft", InterfaceOrientation::LandscapeLeft},
        {"UIInterfaceOrientationLandscapeRight", InterfaceOrientation::LandscapeRight},
    };
    if (!list.is_array()) {
        return std::nullopt;
    }
    InterfaceOrientationMask mask = 0;
    for (const auto& entry : list) {
        if (!entry.is_string()) {
            return std::nullopt;
        }
        const auto& name = entry.get_ref<const std::string&>();
        bool known = false;
        for (const auto& [word, orientation] : kNames) {
            if (name == word) {
                mask |= maskOf(orientation);
                known = true;
            }
        }
        if (!known) {
            return std::nullopt;
        }
    }
    if (mask == 0) {
        return std::nullopt;
    }
    return mask;
}

}  // namespace platform
