#pragma once

#include <optional>
#include <string>

#include "platform/foundation/JsonFwd.h"

namespace platform {

// The way the device is held. The values are the phone's: landscape-left is the device turned
// so that its home button is on the right.
enum class DeviceOrientation {
    Unknown = 0,
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeLeft = 3,
    LandscapeRight = 4,
    FaceUp = 5,
    FaceDown = 6,
};

// The way the interface is drawn. As on the phone, the interface turns against the device: a
// device held landscape-left shows a landscape-right interface (both are 3), so that the
// content stays upright.
enum class InterfaceOrientation {
    Unknown = 0,
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeRight = 3,
    LandscapeLeft = 4,
};

// A set of interface orientations: bit number = the orientation's value, as the phone's masks
// are (portrait 2, all four 30).
using InterfaceOrientationMask = unsigned;
namespace OrientationMask {
constexpr InterfaceOrientationMask Portrait = 1u << 1;
constexpr InterfaceOrientationMask PortraitUpsideDown = 1u << 2;
constexpr InterfaceOrientationMask LandscapeRight = 1u << 3;
constexpr InterfaceOrientationMask LandscapeLeft = 1u << 4;
constexpr InterfaceOrientationMask Landscape = LandscapeLeft | LandscapeRight;
constexpr InterfaceOrientationMask AllButUpsideDown = Portrait | Landscape;
constexpr InterfaceOrientationMask All = AllButUpsideDown | PortraitUpsideDown;
}  // namespace OrientationMask

constexpr InterfaceOrientationMask maskOf(InterfaceOrientation orientation) {
    return 1u << static_cast<unsigned>(orientation);
}
constexpr bool isLandscape(InterfaceOrientation orientation) {
    return orientation == InterfaceOrientation::LandscapeLeft ||
           orientation == InterfaceOrientation::LandscapeRight;
}

// The interface orientation that keeps the content upright on a device held so; nothing for
// a device lying flat or of unknown orientation.
std::optional<InterfaceOrientation> interfaceOrientationFor(DeviceOrientation orientation);

// "portrait", "upside-down", "landscape-left", "landscape-right" (and "face-up",
// "face-down", "unknown" for the device): the front end's words.
std::string orientationName(DeviceOrientation orientation);
std::string orientationName(InterfaceOrientation orientation);
std::optional<DeviceOrientation> parseDeviceOrientation(const std::string& word);

// The set an Info.plist list of orientations names ("UIInterfaceOrientationPortrait" ...);
// nothing when it is not a list of those names or names none, so that a damaged entry never
// leaves an application that takes no orientation at all.
std::optional<InterfaceOrientationMask> orientationMaskFromInfoList(const Json& list);

}  // namespace platform
