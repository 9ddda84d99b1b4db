#pragma once

#include "career/EventDetailViewController.h"

// The career-talk detail page ("宣讲会" from the hub), showing the event on the career-talk card.
class CareerTalkDetailViewController : public EventDetailViewController {
public:
    CareerTalkDetailViewController();
    ~CareerTalkDetailViewController() override;

protected:
    std::shared_ptr<EventDetailScrollView> makeCard(const platform::Rect& frame) const override;
};
