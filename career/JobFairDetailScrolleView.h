#pragma once

#include "career/EventDetailScrollView.h"

// The job-fair card: its type first, the organiser as "单位", then the rows every event card
// has; 12 rows, 12 points below the last value.
class JobFairDetailScrolleView : public EventDetailScrollView {
public:
    static constexpr double kFixedHeight = 502;

    JobFairDetailScrolleView(const platform::Rect& frame, const JobFairModel& model);
    ~JobFairDetailScrolleView() override;

private:
    static const Design& design();
};
