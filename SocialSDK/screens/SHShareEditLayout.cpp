#include "SocialSDK/screens/SHShareEditLayout.h"

namespace SHShareEditLayout {

KeyboardLayout keyboardLayout(const platform::Rect& application, platform::Size view,
                              const platform::Rect& keyboardEnd, bool landscape,
                              double systemVersion, double textViewWidth, double accountViewWidth) {
    KeyboardLayout layout;
    if (landscape) {
        // Before version 8 the keyboard's frame stays in portrait coordinates.
        layout.toolBarSize = {application.height(), kToolBarHeight};
        layout.keyboardHeight = keyboardEnd.width();
        if (systemVersion >= 8.0) {
            layout.toolBarSize = {application.width() + 10, kToolBarHeight};
            layout.keyboardHeight = keyboardEnd.height();
        }
    } else {
        layout.toolBarSize = {application.width(), kToolBarHeight};
        layout.keyboardHeight = keyboardEnd.height();
    }
    const double k = layout.keyboardHeight;
    const double bar = layout.toolBarSize.height;
    layout.toolBarCenter = {view.width / 2, view.height - k - bar / 2};
    layout.countX = layout.toolBarSize.width - kCountInset;
    layout.textViewFrame = {{0, 0}, {textViewWidth, view.height - k - bar}};
    layout.backgroundFrame = {{0, view.height - k}, {view.width, k}};
    layout.accountViewSize = {accountViewWidth, k - kAccountViewInset};
    layout.accountViewCenter = {view.width / 2, k / 2};
    // Each grey half is half the background wide; both stand at the left half's height.
    const double half = view.width / 2;
    const double halfY = kHalfHeight / 2;
    layout.leftHalfCenter = {(view.width - half) / 2, halfY};
    layout.rightHalfCenter = {(view.width + half) / 2 + 1, halfY};
    return layout;
}

}  // namespace SHShareEditLayout
