#include "career/CareerTalkDetailViewController.h"

#include "career/CareerTalkDetailScrollView.h"

CareerTalkDetailViewController::CareerTalkDetailViewController() = default;
CareerTalkDetailViewController::~CareerTalkDetailViewController() = default;

std::shared_ptr<EventDetailScrollView> CareerTalkDetailViewController::makeCard(
    const platform::Rect& frame) const {
    return platform::View::make<CareerTalkDetailScrollView>(frame, jobFair());
}
