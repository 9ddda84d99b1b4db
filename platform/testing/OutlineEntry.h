#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/ui/IndexPath.h"

namespace platform {
class ModalAlert;
class TextField;
class View;
}  // namespace platform

namespace platform::testing {

enum class EntryKind {
    NavigationBar,
    TabBar,
    Tab,
    Button,
    Control,
    Field,
    Label,
    Image,
    Web,
    Scroll,
    Row,
    Tile,
    View,
    Keyboard,
    // A key of the keyboard's form bar (上一项, 下一项, 完成), under the keyboard's line.
    KeyboardKey,
    Alert,
    AlertButton,
    AlertField,
};

// One line of a screen outline: something the user sees, with the handle that names it.
struct OutlineEntry {
    EntryKind kind = EntryKind::View;
    // Nesting under the line above (bar buttons under their bar, rows under their table).
    int depth = 0;
    // Empty for lines nothing can be done with (bars, the keyboard, the alert's own line).
    std::string handle;
    // The view's describe() text, with the texts of the labels it holds appended.
    std::string line;
    // What a user reads in it, for finding it by text.
    std::vector<std::string> texts;
    // The view (a row's cell, a tile's cell); null for alert lines, which are not views.
    std::shared_ptr<View> view;
    // The part of the view that shows, in window coordinates.
    Rect visibleRect;
    // A row's or tile's place in its table or collection.
    std::optional<IndexPath> indexPath;
    // For alert lines: the alert, and the button or field index.
    std::shared_ptr<ModalAlert> alert;
    int alertIndex = -1;
    std::shared_ptr<TextField> alertField;
};

}  // namespace platform::testing
