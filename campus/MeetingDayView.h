#pragma once

#include <memory>
#include <vector>

#include "client/OneWeekMeeting.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/View.h"

namespace platform {
class TableView;
}

// What a day page of the meeting schedule tells its screen: a row was tapped. One protocol
// for the seven pages, which differ only in their weekday.
class presentVCDelegate {
public:
    virtual ~presentVCDelegate() = default;
    virtual void presentVC(const platform::IndexPath& indexPath,
                           const std::vector<OneWeekMeeting>& array) = 0;
};
using presentVCTwoDelegate = presentVCDelegate;
using presentVCThreeDelegate = presentVCDelegate;
using presentVCFourDelegate = presentVCDelegate;
using presentVCFiveDelegate = presentVCDelegate;
using presentVCSixDelegate = presentVCDelegate;
using presentVCSevenDelegate = presentVCDelegate;

// One weekday's page of the meeting schedule: a grey top line over the day's meetings, one
// 80-point row each, in the reply's order. The table fills the page below the line and
// scrolls when the day has more meetings than fit.
class MeetingDayView : public platform::View,
                       public platform::TableViewDataSource,
                       public platform::TableViewDelegate {
public:
    static constexpr double kRowHeight = 80;

    // A new page with an empty list, its table wired to it; the pager sizes it.
    static std::shared_ptr<MeetingDayView> page();

    MeetingDayView();
    ~MeetingDayView() override;

    const std::shared_ptr<platform::TableView>& myTableView() const { return m_myTableView; }
    const std::vector<OneWeekMeeting>& array() const { return m_array; }
    // Set before the page is first shown.
    void setArray(std::vector<OneWeekMeeting> array);

    std::shared_ptr<presentVCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<presentVCDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    void layoutSubviews() override;

    // platform::TableViewDataSource
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    // platform::TableViewDelegate
    double heightForRowAtIndexPath(platform::TableView& tableView,
                                   const platform::IndexPath& indexPath) override;
    void willDisplayCell(platform::TableView& tableView, platform::TableViewCell& cell,
                         const platform::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;

private:
    void createUI();

    std::shared_ptr<platform::View> m_line;
    std::shared_ptr<platform::TableView> m_myTableView;
    std::vector<OneWeekMeeting> m_array;
    std::weak_ptr<presentVCDelegate> m_delegate;
};

// The seven pages, Monday to Sunday, are one design.
using View1 = MeetingDayView;
using View2 = MeetingDayView;
using View3 = MeetingDayView;
using View4 = MeetingDayView;
using View5 = MeetingDayView;
using View6 = MeetingDayView;
using View7 = MeetingDayView;
