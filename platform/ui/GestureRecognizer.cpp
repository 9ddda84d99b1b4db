#include "platform/ui/GestureRecognizer.h"

#include "platform/ui/GestureRecognizerDelegate.h"
#include "platform/ui/View.h"

namespace platform {

GestureRecognizer::GestureRecognizer(Action action) {
    addTarget(std::move(action));
}

GestureRecognizer::~GestureRecognizer() = default;

void GestureRecognizer::addTarget(Action action) {
    if (action) {
        m_actions.push_back(std::move(action));
    }
}

std::shared_ptr<View> GestureRecognizer::view() const {
    return m_view ? m_view->weak_from_this().lock() : nullptr;
}

void GestureRecognizer::setEnabled(bool enabled) {
    m_enabled = enabled;
    if (!enabled && (m_state == GestureState::Began || m_state == GestureState::Changed)) {
        setState(GestureState::Cancelled);
    }
}

Point GestureRecognizer::locationInView(const View* view) const {
    return view ? view->convertPointFrom(m_lastLocation, nullptr) : m_lastLocation;
}

void GestureRecognizer::touchesBegan(const Touches& touches) {
    if (!touches.empty()) {
        m_lastLocation = touches.front().location;
    }
}

void GestureRecognizer::touchesMoved(const Touches& touches) {
    if (!touches.empty()) {
        m_lastLocation = touches.front().location;
    }
}

void GestureRecognizer::touchesEnded(const Touches& touches) {
    if (!touches.empty()) {
        m_lastLocation = touches.front().location;
    }
}

void GestureRecognizer::touchesCancelled(const Touches& /*touches*/) {}

void GestureRecognizer::reset() {
    m_state = GestureState::Possible;
}

bool GestureRecognizer::hasRecognized() const {
    return m_state == GestureState::Began || m_state == GestureState::Changed ||
           m_state == GestureState::Ended;
}

bool GestureRecognizer::isFinished() const {
    return m_state == GestureState::Ended || m_state == GestureState::Cancelled ||
           m_state == GestureState::Failed;
}

void GestureRecognizer::preventRecognition() {
    if (m_state == GestureState::Possible) {
        m_state = GestureState::Failed;
    }
}

void GestureRecognizer::setState(GestureState state) {
    if (m_state == GestureState::Possible &&
        (state == GestureState::Began || state == GestureState::Ended)) {
        auto delegate = m_delegate.lock();
        if (delegate && !delegate->gestureRecognizerShouldBegin(*this)) {
            m_state = GestureState::Failed;
            return;
        }
        if (m_onRecognize) {
            m_onRecognize(*this);
        }
    }
    m_state = state;
    if (state == GestureState::Possible || state == GestureState::Failed) {
        return;
    }
    // An action may remove targets; run the ones there were when the state changed.
    auto actions = m_actions;
    for (auto& action : actions) {
        action(*this);
    }
}

}  // namespace platform
