#pragma once

#include <memory>
#include <vector>

#include "campus/Announcement.h"
#include "campus/AnnouncementChannelDelegate.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/View.h"
#include "widgets/PagedList.h"

namespace platform {
class TableView;
namespace components {
class ProgressHUD;
}
}  // namespace platform

// One notice channel of the hub: a page of the tab pager with the channel's notices, ten at a
// time, pull-down to reload and pull-up for the next page; a tapped row asks the hub to open
// the notice. The five channels are this one design and differ only in their Channel.
//
// A page builds itself and asks for its first page as soon as it is made (create()), whether
// or not it is on screen, under the overlay "加载中" that the first reply takes away. A failed
// request writes the log line and ends the refresh controls; the rows stay.
class AnnouncementChannelView : public platform::View,
                                public platform::TableViewDataSource,
                                public platform::TableViewDelegate {
public:
    struct Channel {
        long category;            // the service's category of the channel's notices
        const char* detailTitle;  // the detail page's title
        const char* logFormat;    // the log line of each request's address
        bool loadsThroughHeader;  // the first load shows the header refreshing
    };

    static constexpr double kRowHeight = 75;
    static constexpr const char* kLoadingText = "加载中";
    // The first load's overlay goes after this long if no reply takes it away.
    static constexpr double kLoadingSeconds = 20;

    explicit AnnouncementChannelView(const Channel& channel);
    ~AnnouncementChannelView() override;

    const Channel& channel() const { return m_channel; }
    const std::shared_ptr<platform::TableView>& myTableView() const { return m_myTableView; }
    const std::vector<Announcement>& array() const { return m_list->records(); }
    // Whether the last load started was a pull-up; the page the last pull-up asked for.
    bool isDownLoading() const { return m_list->isUpLoading(); }
    long nextPage() const { return m_list->nextPage(); }
    const std::shared_ptr<platform::components::ProgressHUD>& HUD() const { return m_HUD; }

    std::shared_ptr<AnnouncementChannelDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<AnnouncementChannelDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    // --- Table data source and delegate ---------------------------------------------------
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(platform::TableView& tableView,
                                   const platform::IndexPath& indexPath) override;
    void willDisplayCell(platform::TableView& tableView, platform::TableViewCell& cell,
                         const platform::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;

    void layoutSubviews() override;

protected:
    // A page made and built, its first load under way: what `new` gives on the phone.
    template <typename Page>
    static std::shared_ptr<Page> create() {
        auto page = View::make<Page>();
        page->createUI();
        return page;
    }

private:
    void createUI();
    void addHeader();
    void loaded();
    void failed(const NetError& error);

    Channel m_channel;
    std::shared_ptr<platform::TableView> m_myTableView;
    std::shared_ptr<PagedList<Announcement>> m_list;
    std::shared_ptr<platform::components::ProgressHUD> m_HUD;
    std::weak_ptr<AnnouncementChannelDelegate> m_delegate;
};
