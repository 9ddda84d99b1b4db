#pragma once

#include <memory>

#include "client/OneWeekMeeting.h"
#include "platform/ui/ViewController.h"

class MeetingDetailsScrollView;

// The meeting detail page "会议详情": one meeting of the weekly schedule, from its record
// alone (no service is asked).
class MeetingDetailsViewController : public platform::ViewController {
public:
    static constexpr const char* kTitle = "会议详情";

    MeetingDetailsViewController();
    ~MeetingDetailsViewController() override;

    const OneWeekMeeting& oneWeekMeeting() const { return m_oneWeekMeeting; }
    // Set before the page loads.
    void setOneWeekMeeting(OneWeekMeeting meeting) { m_oneWeekMeeting = std::move(meeting); }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    // Null until the view has loaded.
    const std::shared_ptr<MeetingDetailsScrollView>& detailsView() const { return m_detailsView; }

    void backBtnWithAction();

private:
    OneWeekMeeting m_oneWeekMeeting;
    std::shared_ptr<MeetingDetailsScrollView> m_detailsView;
};
