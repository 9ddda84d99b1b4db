#include "campus/AnnouncementChannelView.h"

#include "campus/AnnouncementTableViewCell.h"
#include "client/MyTool.h"
#include "client/NetRequest.h"
#include "client/WeakBind.h"
#include "components/hud/ProgressHUD.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "widgets/PagerPageTable.h"

namespace {

constexpr platform::EdgeInsets kNoInsets{0, 0, 0, 0};

}  // namespace

AnnouncementChannelView::AnnouncementChannelView(const Channel& channel)
    : m_channel(channel),
      m_list(PagedList<Announcement>::create(
          "News", [channel](long page, NetSuccessBlock success, NetFailureBlock failure) {
              const ServiceURL url =
                  NetRequest::getAnnouncement(channel.category, page, PagedListBase::kPageSize);
              platform::log(channel.logFormat, url.shown);
              NetTool::shareInstance().getWithURL(url, std::move(success), std::move(failure));
          })) {}

AnnouncementChannelView::~AnnouncementChannelView() = default;

void AnnouncementChannelView::createUI() {
    setBackgroundColor(platform::Color::white());
    auto self = std::static_pointer_cast<AnnouncementChannelView>(shared_from_this());
    m_myTableView =
        addPagerPageTable(*this, std::static_pointer_cast<platform::TableViewDataSource>(self),
                          std::static_pointer_cast<platform::TableViewDelegate>(self));

    m_list->didLoad = bindWeak(self, &AnnouncementChannelView::loaded);
    m_list->didFail = bindWeak(self, &AnnouncementChannelView::failed);
    addHeader();

    m_HUD = View::make<platform::components::ProgressHUD>(*this);
    addSubview(m_HUD);
    m_HUD->setLabelText(kLoadingText);
    m_HUD->showWhileExecutingDelay(kLoadingSeconds, {});

    if (!m_channel.loadsThroughHeader)
        m_list->reload();
}

void AnnouncementChannelView::addHeader() {
    m_list->attachTo(m_myTableView);
    if (m_channel.loadsThroughHeader)
        m_list->beginRefreshing();
}

void AnnouncementChannelView::loaded() {
    // Only the first load has the overlay; later replies find it gone.
    if (m_HUD)
        m_HUD->removeFromSuperview();
}

void AnnouncementChannelView::failed(const NetError& error) {
    platform::log("error:%@", ::describe(error));
}

void AnnouncementChannelView::layoutSubviews() {
    // The page is made before the pager gives it its frame; the overlay covers it all the same.
    if (m_HUD && m_HUD->superview().get() == this)
        m_HUD->setFrame(bounds());
}

int AnnouncementChannelView::numberOfRowsInSection(platform::TableView& /*tableView*/,
                                                   int /*section*/) {
    return static_cast<int>(m_list->size());
}

std::shared_ptr<platform::TableViewCell> AnnouncementChannelView::cellForRowAtIndexPath(
    platform::TableView& tableView, const platform::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<AnnouncementTableViewCell>(
        tableView.dequeueReusableCellWithIdentifier(AnnouncementTableViewCell::kReuseIdentifier));
    if (!cell) {
        cell = View::make<AnnouncementTableViewCell>(platform::TableViewCellStyle::Default,
                                                     AnnouncementTableViewCell::kReuseIdentifier);
    }
    cell->setAccessoryType(platform::TableViewCellAccessoryType::DisclosureIndicator);
    if (const Announcement* notice = m_list->recordAt(static_cast<size_t>(indexPath.row))) {
        cell->titleLabel()->setText(notice->xwbt);
        cell->timeLabel()->setText(notice->fbsj);
    }
    return cell;
}

double AnnouncementChannelView::heightForRowAtIndexPath(platform::TableView& /*tableView*/,
                                                        const platform::IndexPath& /*indexPath*/) {
    return kRowHeight;
}

void AnnouncementChannelView::willDisplayCell(platform::TableView& /*tableView*/,
                                              platform::TableViewCell& cell,
                                              const platform::IndexPath& /*indexPath*/) {
    cell.setSeparatorInset(kNoInsets);
    cell.setLayoutMargins(kNoInsets);
}

void AnnouncementChannelView::didSelectRowAtIndexPath(platform::TableView& tableView,
                                                      const platform::IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (auto hub = delegate())
        hub->pushVC(indexPath, m_list->records(), m_channel.detailTitle);
}
