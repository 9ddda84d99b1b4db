#pragma once

#include <memory>
#include <string>

#include "career/JobFairModel.h"
#include "platform/ui/ViewController.h"

namespace platform {
class Label;
class ScrollView;
}  // namespace platform
class EventDetailScrollView;

// The detail page of a job fair or a career talk: the event's subject as a centred heading
// and under it the white card of captioned rows, the page scrolling over both. The two pages
// are this one design; each says which card it shows. It asks no service.
class EventDetailViewController : public platform::ViewController {
public:
    ~EventDetailViewController() override;

    // Set by the hub before the push: the event (the tapped row's record) and the title.
    const JobFairModel& jobFair() const { return m_jobFair; }
    void setJobFair(JobFairModel event) { m_jobFair = std::move(event); }
    const std::string& naviTitleStr() const { return m_naviTitleStr; }
    void setNaviTitleStr(std::string title) { m_naviTitleStr = std::move(title); }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    const std::shared_ptr<platform::ScrollView>& myScrollView() const { return m_myScrollView; }
    const std::shared_ptr<platform::Label>& headingLabel() const { return m_headingLabel; }
    const std::shared_ptr<EventDetailScrollView>& detailView() const { return m_detailView; }

protected:
    EventDetailViewController();
    virtual std::shared_ptr<EventDetailScrollView> makeCard(const platform::Rect& frame) const = 0;

private:
    void createTabBar();
    void createUI();
    void backBtnWithAction();

    JobFairModel m_jobFair;
    std::string m_naviTitleStr;
    std::shared_ptr<platform::ScrollView> m_myScrollView;
    std::shared_ptr<platform::Label> m_headingLabel;
    std::shared_ptr<EventDetailScrollView> m_detailView;
};
