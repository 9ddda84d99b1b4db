#include "career/JobFairDetailScrolleView.h"

#include "career/JobFairModel.h"

JobFairDetailScrolleView::JobFairDetailScrolleView(const platform::Rect& frame,
                                                   const JobFairModel& model)
    : EventDetailScrollView(frame, model, design()) {}

JobFairDetailScrolleView::~JobFairDetailScrolleView() = default;

const EventDetailScrollView::Design& JobFairDetailScrolleView::design() {
    static const Design rows = [] {
        Design made{{typeRow(), unitsRow(60, [](const JobFairModel& e) { return e.ZBDW; })},
                    kFixedHeight};
        for (auto& row : commonRows()) made.rows.push_back(row);
        return made;
    }();
    return rows;
}
