#include "platform/ui/InterfaceOrientation.h"

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

}  // namespace platform
