#pragma once

#include "platform/graphics/Geometry.h"

// The edit screen's geometry, in one place: the fixed frames its layout gives the views, and
// where the keyboard puts the tool bar, the text and the account panel.
namespace SHShareEditLayout {

inline constexpr double kToolBarHeight = 44;
// Counter: this far left of the tool bar's right edge.
inline constexpr double kCountInset = 40;
inline constexpr platform::Rect kCountFrame{{0, 7}, {36, 30}};
inline constexpr platform::Rect kAtButtonFrame{{8, 7}, {30, 30}};
inline constexpr platform::Rect kChangeAccountButtonFrame{{48, 7}, {30, 30}};
inline constexpr platform::Rect kFollowButtonFrame{{96, 10}, {24, 24}};
inline constexpr platform::Rect kFollowLabelFrame{{124, 7}, {110, 30}};
// The picture sits in a column right of the text; the delete button on its top-right corner.
inline constexpr double kPictureColumn = 96;
inline constexpr double kPictureSide = 72;
inline constexpr double kPictureTop = 12;
inline constexpr double kDeleteSide = 22;
// The account panel.
inline constexpr double kHalfHeight = 130;
inline constexpr platform::Rect kAvatarFrame{{50, 0}, {57, 57}};
inline constexpr double kAvatarCorner = 7;
inline constexpr platform::Rect kNameFrame{{50, 100}, {80, 30}};
inline constexpr double kCaptionDrop = 40;  // name and caption centres below their pictures
inline constexpr double kSwitchShift = 160;
inline constexpr platform::Rect kCaptionFrame{{100, 300}, {60, 30}};
inline constexpr double kAccountViewWidth = 267;
inline constexpr double kAccountViewInset = 30;  // the panel is this much lower than its place

// Where the keyboard puts things; see keyboardLayout.
struct KeyboardLayout {
    double keyboardHeight = 0;
    platform::Size toolBarSize;
    platform::Point toolBarCenter;
    platform::Rect textViewFrame;
    platform::Rect backgroundFrame;
    platform::Size accountViewSize;
    platform::Point accountViewCenter;  // in the background's coordinates
    double countX = 0;
    platform::Point leftHalfCenter;  // in the background's coordinates
    platform::Point rightHalfCenter;
};

// The layout over a keyboard whose end frame is `keyboardEnd`, for a screen view of size `view`
// on a main screen whose application frame is `application`. Landscape (or upside down) takes
// the keyboard's width as its height before system version 8 and its own width plus 10 for the
// tool bar from 8 on; portrait the application frame's width and the end frame's height.
KeyboardLayout keyboardLayout(const platform::Rect& application, platform::Size view,
                              const platform::Rect& keyboardEnd, bool landscape,
                              double systemVersion, double textViewWidth, double accountViewWidth);

}  // namespace SHShareEditLayout
