#include "career/JobFairDetailViewController.h"

#include "career/JobFairDetailScrolleView.h"

JobFairDetailViewController::JobFairDetailViewController() = default;
JobFairDetailViewController::~JobFairDetailViewController() = default;

std::shared_ptr<EventDetailScrollView> JobFairDetailViewController::makeCard(
    const platform::Rect& frame) const {
    return platform::View::make<JobFairDetailScrolleView>(frame, jobFair());
}
