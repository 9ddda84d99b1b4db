#include "campus/DirectoryScreenParts.h"

#include "campus/AddressBookDetailedViewController.h"
#include "client/Record.h"
#include "components/hud/ProgressHUD.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

namespace directory {

std::vector<platform::Json> membersOf(const platform::Json& reply, std::string_view key) {
    std::vector<platform::Json> members;
    if (!reply.is_object())
        return members;
    auto list = reply.find(key);
    if (list == reply.end() || !list->is_array())
        return members;
    members.reserve(list->size());
    for (const auto& element : *list) {
        if (element.is_object())
            members.push_back(element);
    }
    return members;
}

std::string memberName(const platform::Json& member) {
    if (!member.is_object())
        return {};
    auto name = member.find("xm");
    return name == member.end() ? std::string() : recordText(*name);
}

std::shared_ptr<platform::components::ProgressHUD> showOverlay(platform::View& view,
                                                               const std::string& text) {
    auto overlay = platform::View::make<platform::components::ProgressHUD>(view);
    view.addSubview(overlay);
    overlay->setLabelText(text);
    overlay->showWhileExecutingDelay(kOverlaySeconds, {});
    return overlay;
}

void removeOverlay(const std::shared_ptr<platform::components::ProgressHUD>& overlay) {
    if (overlay)
        overlay->removeFromSuperview();
}

std::shared_ptr<platform::ImageView> addEmptyResultImage(platform::View& view) {
    const auto screen = platform::Screen::main().size();
    const double width = screen.width * 420 / 375 / 2;
    const double height = screen.height * 190 / 667 / 2;
    auto image = platform::View::make<platform::ImageView>(platform::Rect{
        {screen.width / 2 - width / 2, screen.height / 2 - height / 2 - 64}, {width, height}});
    image->setImage(platform::Image::named(kEmptyImage));
    view.addSubview(image);
    return image;
}

std::shared_ptr<platform::TableViewCell> textCell(platform::TableView& table,
                                                  const std::string& text) {
    auto cell = table.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) {
        cell = platform::View::make<platform::TableViewCell>(platform::TableViewCellStyle::Default,
                                                             kCellIdentifier);
    }
    cell->textLabel()->setText(text);
    return cell;
}

void openMemberDetail(platform::ViewController& from, const platform::Json& member) {
    auto navigation = from.navigationController();
    if (!navigation)
        return;
    auto detail = std::make_shared<AddressBookDetailedViewController>();
    detail->setDic(member);
    navigation->pushViewController(detail, true);
}

}  // namespace directory
