#include "career/CareerTalkDetailScrollView.h"

#include "career/JobFairModel.h"

CareerTalkDetailScrollView::CareerTalkDetailScrollView(const platform::Rect& frame,
                                                       const JobFairModel& model)
    : EventDetailScrollView(frame, model, design()) {}

CareerTalkDetailScrollView::~CareerTalkDetailScrollView() = default;

const EventDetailScrollView::Design& CareerTalkDetailScrollView::design() {
    static const Design rows = [] {
        Design made{{unitsRow(40, [](const JobFairModel& e) { return e.YRDW; })}, kFixedHeight};
        for (auto& row : commonRows()) made.rows.push_back(row);
        return made;
    }();
    return rows;
}
