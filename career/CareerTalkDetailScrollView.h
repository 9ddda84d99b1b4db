#pragma once

#include "career/EventDetailScrollView.h"

// The career-talk card: the employer as "单位" first, then the rows every event card has;
// 11 rows, 30 points below the last value.
class CareerTalkDetailScrollView : public EventDetailScrollView {
public:
    static constexpr double kFixedHeight = 474;

    CareerTalkDetailScrollView(const platform::Rect& frame, const JobFairModel& model);
    ~CareerTalkDetailScrollView() override;

private:
    static const Design& design();
};
