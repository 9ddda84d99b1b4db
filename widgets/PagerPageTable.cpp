#include "widgets/PagerPageTable.h"

#include "client/MyTool.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"

namespace {

constexpr const char* kLineColor = "dadada";
constexpr platform::EdgeInsets kNoInsets{0, 0, 0, 0};

}  // namespace

std::shared_ptr<platform::TableView> addPagerPageTable(
    platform::View& page, const std::shared_ptr<platform::TableViewDataSource>& dataSource,
    const std::shared_ptr<platform::TableViewDelegate>& delegate) {
    using platform::View;
    const auto screen = platform::Screen::main().size();

    auto line = View::make<View>(platform::Rect{{0, 0}, {screen.width, 1}});
    line->setBackgroundColor(MyTool::colorWithString(kLineColor));
    page.addSubview(line);

    auto table = View::make<platform::TableView>(
        platform::Rect{
            {0, 1},
            {screen.width, screen.height - kPagerPageNavigationBarHeight - kPagerPageTabRowHeight}},
        platform::TableViewStyle::Plain);
    table->setTableFooterView(View::make<View>(platform::Rect{}));
    table->setDataSource(dataSource);
    table->setDelegate(delegate);
    table->setSeparatorInset(kNoInsets);
    table->setLayoutMargins(kNoInsets);
    page.addSubview(table);
    return table;
}
