#include "career/EmploymentListPage.h"

#include "career/EmploymentTableViewCell.h"
#include "career/JobFairModel.h"
#include "career/RecruitmentModel.h"
#include "client/MyTool.h"
#include "client/NetRequest.h"
#include "client/WeakBind.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "widgets/PagerPageTable.h"

namespace {

constexpr platform::EdgeInsets kNoInsets{0, 0, 0, 0};

// Every list reply carries its rows under this key.
const char* const kListKey = "ListOrderedMap";

}  // namespace

template <typename Record>
EmploymentListPage<Record>::EmploymentListPage(const Kind& kind)
    : m_kind(kind),
      m_list(PagedList<Record>::create(
          kListKey, [kind](long page, NetSuccessBlock success, NetFailureBlock failure) {
              const ServiceURL url =
                  NetRequest::getEmployment(kind.type, page, PagedListBase::kPageSize);
              platform::log(kind.logFormat, url.shown);
              NetTool::shareInstance().getWithURL(url, std::move(success), std::move(failure));
          })) {}

template <typename Record>
EmploymentListPage<Record>::~EmploymentListPage() = default;

template <typename Record>
void EmploymentListPage<Record>::createUI() {
    setBackgroundColor(platform::Color::white());
    auto self = std::static_pointer_cast<EmploymentListPage>(shared_from_this());
    m_myTableView =
        addPagerPageTable(*this, std::static_pointer_cast<platform::TableViewDataSource>(self),
                          std::static_pointer_cast<platform::TableViewDelegate>(self));

    m_list->didFail = bindWeak(self, &EmploymentListPage::failed);
    // A row the service sent that is not a record makes the whole page unreadable: it fails
    // like a failed request rather than showing the page with a row missing.
    m_list->rejectStrayElements();
    addRefreshControls();
}

template <typename Record>
void EmploymentListPage<Record>::addRefreshControls() {
    // The pull-down header reloads page 1, the pull-up footer asks for the page after the
    // last one asked for. The first load runs through the header as soon as the table is in
    // a window.
    m_list->attachTo(m_myTableView);
    m_list->beginRefreshing();
}

template <typename Record>
void EmploymentListPage<Record>::failed(const NetError& error) {
    platform::log("error:%@", ::describe(error));
}

template <typename Record>
int EmploymentListPage<Record>::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                      int /*section*/) {
    return static_cast<int>(m_list->size());
}

template <typename Record>
std::shared_ptr<platform::TableViewCell> EmploymentListPage<Record>::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<EmploymentTableViewCell>(
        tableView.dequeueReusableCellWithIdentifier(EmploymentTableViewCell::kReuseIdentifier));
    if (!cell) {
        cell = View::make<EmploymentTableViewCell>(platform::TableViewCellStyle::Default,
                                                   EmploymentTableViewCell::kReuseIdentifier);
    }
    cell->setAccessoryType(platform::TableViewCellAccessoryType::DisclosureIndicator);
    if (const Record* record = m_list->recordAt(static_cast<size_t>(indexPath.row)))
        cell->show(*record);
    return cell;
}

template <typename Record>
double EmploymentListPage<Record>::heightForRowAtIndexPath(
    platform::TableView& /*tableView*/, const platform::IndexPath& /*indexPath*/) {
    return kRowHeight;
}

template <typename Record>
void EmploymentListPage<Record>::willDisplayCell(platform::TableView& /*tableView*/,
                                                 platform::TableViewCell& cell,
                                                 const platform::IndexPath& /*indexPath*/) {
    cell.setSeparatorInset(kNoInsets);
    cell.setLayoutMargins(kNoInsets);
}

template <typename Record>
void EmploymentListPage<Record>::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                         const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (m_list->recordAt(static_cast<size_t>(indexPath.row)))
        openRow(indexPath);
}

template class EmploymentListPage<RecruitmentModel>;
template class EmploymentListPage<JobFairModel>;
