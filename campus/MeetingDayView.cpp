#include "campus/MeetingDayView.h"

#include "campus/OneWeekTableViewCell.h"
#include "client/MyTool.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"

namespace {
constexpr double kLineHeight = 1;
constexpr const char* kLineColor = "dadada";
}  // namespace

std::shared_ptr<MeetingDayView> MeetingDayView::page() {
    auto page = make<MeetingDayView>();
    page->m_myTableView->setDataSource(std::static_pointer_cast<TableViewDataSource>(page));
    page->m_myTableView->setDelegate(std::static_pointer_cast<TableViewDelegate>(page));
    return page;
}

MeetingDayView::MeetingDayView() {
    createUI();
}

MeetingDayView::~MeetingDayView() = default;

void MeetingDayView::createUI() {
    setBackgroundColor(platform::Color::white());

    m_line = make<platform::View>();
    m_line->setBackgroundColor(MyTool::colorWithString(kLineColor));
    addSubview(m_line);

    m_myTableView = make<platform::TableView>();
    // No separator lines under the last row.
    m_myTableView->setTableFooterView(make<platform::View>());
    m_myTableView->setSeparatorInset({});
    m_myTableView->setLayoutMargins({});
    addSubview(m_myTableView);
}

void MeetingDayView::layoutSubviews() {
    // The table fills the page below the line, so every row can be scrolled to.
    const platform::Size size = bounds().size;
    m_line->setFrame({{0, 0}, {size.width, kLineHeight}});
    m_myTableView->setFrame(
        {{0, kLineHeight}, {size.width, std::max(0.0, size.height - kLineHeight)}});
}

void MeetingDayView::setArray(std::vector<OneWeekMeeting> array) {
    m_array = std::move(array);
    m_myTableView->reloadData();
}

int MeetingDayView::numberOfRowsInSection(platform::TableView& /*tableView*/, int /*section*/) {
    return static_cast<int>(m_array.size());
}

std::shared_ptr<platform::TableViewCell> MeetingDayView::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<OneWeekTableViewCell>(
        tableView.dequeueReusableCellWithIdentifier(OneWeekTableViewCell::kReuseIdentifier));
    if (!cell) {
        cell = make<OneWeekTableViewCell>(platform::TableViewCellStyle::Default,
                                          OneWeekTableViewCell::kReuseIdentifier);
    }
    cell->setAccessoryType(platform::TableViewCellAccessoryType::DisclosureIndicator);
    const auto row = static_cast<std::size_t>(indexPath.row);
    if (row < m_array.size()) {
        cell->nrLabel()->setText(m_array[row].subject);
        cell->dateLabel()->setText(m_array[row].startDate);
    }
    return cell;
}

double MeetingDayView::heightForRowAtIndexPath(platform::TableView& /*tableView*/,
                                               const platform::IndexPath& /*indexPath*/) {
    return kRowHeight;
}

void MeetingDayView::willDisplayCell(platform::TableView& /*tableView*/,
                                     platform::TableViewCell& cell,
                                     const platform::IndexPath& /*indexPath*/) {
    cell.setSeparatorInset(platform::EdgeInsets{});
    cell.setLayoutMargins({});
}

void MeetingDayView::didSelectRowAtIndexPath(platform::TableView& tableView,
                                             const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (auto screen = delegate())
        screen->presentVC(indexPath, m_array);
}
