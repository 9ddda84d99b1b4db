#pragma once

#include "platform/ui/EnumFlags.h"

namespace platform {

// Options of View::animateWithDuration. Headless animations apply their end state at once,
// so only the timing of the completion matters; the options are kept for the callers' sake.
enum class AnimationOptions : unsigned {
    None = 0,
    LayoutSubviews = 1u << 0,
    AllowUserInteraction = 1u << 1,
    BeginFromCurrentState = 1u << 2,
    Repeat = 1u << 3,
    Autoreverse = 1u << 4,
    CurveEaseInOut = 0,
    CurveEaseIn = 1u << 16,
    CurveEaseOut = 2u << 16,
    CurveLinear = 3u << 16,
    TransitionFlipFromLeft = 2u << 20,
    TransitionFlipFromRight = 3u << 20,
    TransitionCurlUp = 4u << 20,
    TransitionCurlDown = 5u << 20,
    TransitionCrossDissolve = 6u << 20,
};

template <>
struct EnableFlags<AnimationOptions> : std::true_type {};

// How long the system's own animated transitions take, in seconds of the run loop's clock.
namespace animation {
constexpr double kNavigationTransition = 0.35;
constexpr double kModalTransition = 0.4;
constexpr double kBarShowHide = 0.2;
}  // namespace animation

}  // namespace platform
