#pragma once

#include <memory>

#include "platform/graphics/Geometry.h"

namespace platform {

class View;
class Window;
enum class ModalPresentationStyle;

// The tablet's sheet presentations: the presented view shows in a panel of 540 x 620 points
// centred over a dimmed screen, and what is below stays on screen. While the keyboard is up
// the panel rises above it (shortened where the room above the keyboard is too short), as
// the phone's sheets do, so what is edited stays in sight. On a phone the sheet
// styles fill the screen like a full-screen presentation.
class FormSheet {
public:
    static constexpr Size kSize{540, 620};

    static bool applies(ModalPresentationStyle style);
    // Puts the dimming view, the panel and the presented view (sized to the panel) into the
    // window; the panel stays centred when the window turns.
    static void place(Window& window, const std::shared_ptr<View>& presented);
    // Takes the panel and its dimming view away from around the presented view, if it is in
    // one.
    static void remove(View& presented);
};

}  // namespace platform
