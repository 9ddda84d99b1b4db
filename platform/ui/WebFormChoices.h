#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ActionSheetDelegate.h"

namespace platform {

class PopoverController;
class View;

// A page's <select> opened: its choices offered the way the platform offers a choice, as an
// action sheet rising from the bottom on the phone (with a cancel button) and as a popover
// beside the select on the tablet (a tap outside cancels). The web view keeps one; opening it
// again closes what it still shows. Main thread only.
class WebFormChoices final : public ActionSheetDelegate,
                             public std::enable_shared_from_this<WebFormChoices> {
public:
    static constexpr double kRowHeight = 44;
    static constexpr double kPopoverWidth = 260;

    WebFormChoices() = default;
    ~WebFormChoices() override;

    // `chosen` gets the index of the choice picked, or -1 once when the user cancels or the
    // list is closed.
    void open(View& select, std::shared_ptr<View> sheetHost,
              const std::vector<std::string>& options, int selected,
              std::function<void(int)> chosen);
    // Closes what shows, choosing nothing (the page went away).
    void close();
    bool isOpen() const;

    void clickedButtonAtIndex(ActionSheet& sheet, int index) override;

private:
    void pick(int index);

    std::function<void(int)> m_chosen;
    std::weak_ptr<ActionSheet> m_sheet;
    std::shared_ptr<PopoverController> m_popover;
};

}  // namespace platform
