#include "platform/ui/ScrollViewPanGestureRecognizer.h"

#include "platform/ui/ScrollView.h"

namespace platform {

ScrollViewPanGestureRecognizer::ScrollViewPanGestureRecognizer() {
    addTarget([](GestureRecognizer& recognizer) {
        static_cast<ScrollViewPanGestureRecognizer&>(recognizer).drive();
    });
}

bool ScrollViewPanGestureRecognizer::canBeginWithMovement(Point start, Point current) const {
    auto scrollView = std::dynamic_pointer_cast<ScrollView>(view());
    return scrollView && scrollView->canScrollAlong({current.x - start.x, current.y - start.y});
}

void ScrollViewPanGestureRecognizer::drive() {
    auto scrollView = std::dynamic_pointer_cast<ScrollView>(view());
    if (!scrollView) {
        return;
    }
    Point translation = translationInView(nullptr);
    Point delta{translation.x - m_lastTranslation.x, translation.y - m_lastTranslation.y};
    switch (state()) {
        case GestureState::Began:
            m_lastTranslation = {};
            delta = translation;
            m_dragging = scrollView->beginDragging();
            [[fallthrough]];
        case GestureState::Changed:
            if (m_dragging) {
                scrollView->dragStep(delta);
                m_lastTranslation = translation;
            }
            break;
        case GestureState::Ended:
        case GestureState::Cancelled:
            if (m_dragging) {
                m_dragging = false;
                scrollView->endDragging();
            }
            break;
        default:
            break;
    }
}

}  // namespace platform
