#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Json.h"
#include "platform/ui/ViewController.h"

namespace platform {
class ImageView;
class TableView;
class TableViewCell;
class View;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// What the staff directory's screens (categories, member lists, search) share: the texts
// and pictures they show, how a reply's members are read, the loading overlay, the empty
// result picture and the way a member's detail page is opened.
namespace directory {

inline constexpr const char* kTitle = "通讯录";
inline constexpr const char* kLoadingText = "加载中";
inline constexpr const char* kSearchingText = "搜索中...";
inline constexpr const char* kEmptyImage = "暂无内容";
inline constexpr const char* kCellIdentifier = "cell";
// The overlay stands for a 20-second background task; a reply removes it sooner.
inline constexpr double kOverlaySeconds = 20;

// The member objects of the reply's list, in order. A reply that is not an object, a list
// that is not an array and elements that are not objects give no members.
std::vector<platform::Json> membersOf(const platform::Json& reply, std::string_view key);
// The member's name "xm"; "" when it has none (absent or null), never "(null)".
std::string memberName(const platform::Json& member);

// A loading overlay with the text on the view, hidden after kOverlaySeconds unless removed.
std::shared_ptr<platform::components::ProgressHUD> showOverlay(platform::View& view,
                                                               const std::string& text);
// Takes the overlay off its view, if there is one.
void removeOverlay(const std::shared_ptr<platform::components::ProgressHUD>& overlay);

// The picture "暂无内容" centred a little above the middle of the screen, added to the view.
std::shared_ptr<platform::ImageView> addEmptyResultImage(platform::View& view);

// A plain default-style row of the "cell" identifier showing one text.
std::shared_ptr<platform::TableViewCell> textCell(platform::TableView& table,
                                                  const std::string& text);

// A callback that calls the screen's method while the screen lives and does nothing once it
// has gone (a reply that arrives after its screen was popped).
template <typename Screen, typename... Args>
auto whileAlive(Screen& screen, void (Screen::*method)(Args...)) {
    std::weak_ptr<platform::ViewController> weak = screen.weak_from_this();
    return [weak, method](auto&&... args) {
        if (auto self = std::static_pointer_cast<Screen>(weak.lock()))
            (self.get()->*method)(std::forward<decltype(args)>(args)...);
    };
}

// Pushes the member's detail page onto the screen's navigation stack (animated).
void openMemberDetail(platform::ViewController& from, const platform::Json& member);

}  // namespace directory
