#pragma once

#include "career/EventDetailViewController.h"

// The job-fair detail page ("招聘会" from the hub), showing the event on the job-fair card.
class JobFairDetailViewController : public EventDetailViewController {
public:
    JobFairDetailViewController();
    ~JobFairDetailViewController() override;

protected:
    std::shared_ptr<EventDetailScrollView> makeCard(const platform::Rect& frame) const override;
};
