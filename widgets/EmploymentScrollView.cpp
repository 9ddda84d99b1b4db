#include "widgets/EmploymentScrollView.h"

std::shared_ptr<EmploymentScrollView> EmploymentScrollView::scrollWithFrame(
    const platform::Rect& frame, Views views, Titles buttonNames, int animationCode) {
    return make<EmploymentScrollView>(frame, std::move(views), std::move(buttonNames),
                                      animationCode);
}
