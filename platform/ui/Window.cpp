#include "platform/ui/Window.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Control.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/GestureRecognizerDelegate.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ViewController.h"

namespace platform {

struct Window::TouchSequence {
    Touch touch;
    std::shared_ptr<View> view;
    std::vector<std::shared_ptr<GestureRecognizer>> recognizers;
    bool viewBegan = false;
    bool viewCancelled = false;
};

Window::Window() : Window(Screen::main().bounds()) {}

Window::Window(const Rect& frame) : View(frame) {
    View::setHidden(true);
}

Window::~Window() = default;

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
    if (controller == m_rootViewController) {
        return;
    }
    auto old = m_rootViewController;
    bool visible = !isHidden();
    std::shared_ptr<View> newView = controller ? controller->view() : nullptr;
    if (old && visible) {
        old->beginAppearanceTransition(false, false);
    }
    if (controller && visible) {
        controller->beginAppearanceTransition(true, false);
    }
    if (old) {
        if (auto oldView = old->viewIfLoaded(); oldView && oldView->superview().get() == this) {
            oldView->removeFromSuperview();
        }
    }
    m_rootViewController = controller;
    if (newView) {
        newView->setFrame(bounds());
        newView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                     AutoresizingMask::FlexibleHeight);
        insertSubview(newView, 0);
        newView->layoutIfNeeded();
    }
    if (old && visible) {
        old->endAppearanceTransition();
    }
    if (controller && visible) {
        controller->endAppearanceTransition();
    }
}

void Window::makeKeyAndVisible() {
    makeKeyWindow();
    setHidden(false);
}

void Window::makeKeyWindow() {
    if (auto self = std::static_pointer_cast<Window>(weak_from_this().lock())) {
        Application::shared().windowBecameKey(self);
    }
}

bool Window::isKeyWindow() const {
    return Application::shared().keyWindow().get() == this;
}

void Window::setHidden(bool hidden) {
    bool wasHidden = isHidden();
    View::setHidden(hidden);
    if (wasHidden == hidden) {
        return;
    }
    auto self = std::static_pointer_cast<Window>(weak_from_this().lock());
    if (!hidden && self) {
        Application::shared().windowBecameVisible(self);
    }
    if (auto root = m_rootViewController) {
        root->beginAppearanceTransition(!hidden, false);
        if (!hidden) {
            root->view()->layoutIfNeeded();
        }
        root->endAppearanceTransition();
    }
}

// --- Touches ----------------------------------------------------------------------------

bool Window::touchDown(Point location) {
    if (m_touch) {
        touchCancel();
    }
    auto self = weak_from_this().lock();
    auto hit = hitTest(location);
    if (!hit) {
        return false;
    }
    auto sequence = std::make_shared<TouchSequence>();
    sequence->touch = Touch{location, location, TouchPhase::Began, hit};
    sequence->view = hit;
    bool passedControl = false;
    for (auto view = hit; view; view = view->superview()) {
        for (const auto& recognizer : view->gestureRecognizers()) {
            if (!recognizer->isEnabled() || (passedControl && recognizer->yieldsToControls())) {
                continue;
            }
            auto delegate = recognizer->delegate();
            if (delegate &&
                !delegate->gestureRecognizerShouldReceiveTouch(*recognizer, sequence->touch)) {
                continue;
            }
            sequence->recognizers.push_back(recognizer);
        }
        auto* control = dynamic_cast<Control*>(view.get());
        if (control && control->isEnabled()) {
            passedControl = true;
        }
    }
    std::weak_ptr<TouchSequence> weakSequence = sequence;
    for (auto& recognizer : sequence->recognizers) {
        recognizer->m_onRecognize = [weakSequence](GestureRecognizer& recognized) {
            if (auto current = weakSequence.lock()) {
                excludeOthers(*current, recognized);
            }
        };
    }
    m_touch = sequence;
    deliverTouch(sequence);
    return true;
}

void Window::touchMove(Point location) {
    advanceTouch(location, TouchPhase::Moved);
}

void Window::touchUp(Point location) {
    advanceTouch(location, TouchPhase::Ended);
}

void Window::advanceTouch(Point location, TouchPhase phase) {
    auto sequence = m_touch;
    if (!sequence) {
        return;
    }
    auto self = weak_from_this().lock();
    Touch& touch = sequence->touch;
    touch.previousLocation = touch.location;
    touch.location = location;
    touch.phase = phase;
    if (deliverTouch(sequence) && phase == TouchPhase::Ended && m_touch == sequence) {
        finishTouchSequence();
    }
}

bool Window::deliverTouch(const std::shared_ptr<TouchSequence>& sequence) {
    Touches touches{sequence->touch};
    TouchPhase phase = sequence->touch.phase;
    // Recognisers and views take touches through methods of the same names.
    auto deliver = [&](auto& receiver) {
        switch (phase) {
            case TouchPhase::Began:
                receiver.touchesBegan(touches);
                break;
            case TouchPhase::Ended:
                receiver.touchesEnded(touches);
                break;
            default:
                receiver.touchesMoved(touches);
                break;
        }
    };
    for (auto& recognizer : sequence->recognizers) {
        if (!recognizer->isFinished()) {
            deliver(*recognizer);
        }
    }
    if (m_touch != sequence) {
        return false;
    }
    cancelViewTouchesIfTaken();
    if (!sequence->viewCancelled) {
        if (phase == TouchPhase::Began) {
            sequence->viewBegan = true;
        }
        deliver(*sequence->view);
    }
    return true;
}

void Window::touchCancel() {
    auto sequence = m_touch;
    if (!sequence) {
        return;
    }
    auto self = weak_from_this().lock();
    Touch& touch = sequence->touch;
    touch.phase = TouchPhase::Cancelled;
    Touches touches{touch};
    for (auto& recognizer : sequence->recognizers) {
        if (!recognizer->isFinished()) {
            recognizer->touchesCancelled(touches);
        }
    }
    if (sequence->viewBegan && !sequence->viewCancelled) {
        sequence->viewCancelled = true;
        sequence->view->touchesCancelled(touches);
    }
    if (m_touch == sequence) {
        finishTouchSequence();
    }
}

namespace {

bool mayRecognizeTogether(GestureRecognizer& one, GestureRecognizer& other) {
    auto mine = one.delegate();
    auto theirs = other.delegate();
    return (mine && mine->gestureRecognizerShouldRecognizeSimultaneously(one, other)) ||
           (theirs && theirs->gestureRecognizerShouldRecognizeSimultaneously(other, one));
}

}  // namespace

void Window::excludeOthers(TouchSequence& sequence, GestureRecognizer& recognizer) {
    for (auto& other : sequence.recognizers) {
        if (other.get() != &recognizer && other->state() == GestureState::Possible &&
            !mayRecognizeTogether(recognizer, *other)) {
            other->preventRecognition();
        }
    }
}

void Window::cancelViewTouchesIfTaken() {
    auto sequence = m_touch;
    if (sequence->viewCancelled) {
        return;
    }
    for (auto& recognizer : sequence->recognizers) {
        if (recognizer->hasRecognized() && recognizer->cancelsTouchesInView()) {
            sequence->viewCancelled = true;
            if (sequence->viewBegan) {
                Touch cancelled = sequence->touch;
                cancelled.phase = TouchPhase::Cancelled;
                sequence->view->touchesCancelled(Touches{cancelled});
            }
            return;
        }
    }
}

void Window::finishTouchSequence() {
    auto sequence = std::move(m_touch);
    for (auto& recognizer : sequence->recognizers) {
        recognizer->m_onRecognize = nullptr;
        recognizer->reset();
    }
}

bool Window::tap(Point location) {
    if (!touchDown(location)) {
        return false;
    }
    touchUp(location);
    return true;
}

bool Window::drag(Point from, Point to, int steps) {
    if (!touchDown(from)) {
        return false;
    }
    steps = std::max(1, steps);
    for (int i = 1; i <= steps; ++i) {
        double f = double(i) / steps;
        touchMove(Point{from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f});
    }
    touchUp(to);
    return true;
}

// --- Layout -----------------------------------------------------------------------------

void Window::scheduleLayoutPass() {
    if (m_layoutScheduled) {
        return;
    }
    std::weak_ptr<View> weak = weak_from_this();
    if (weak.expired()) {
        return;  // still being built; whoever shows it lays it out
    }
    m_layoutScheduled = true;
    RunLoop::main().post([weak] {
        if (auto window = weak.lock()) {
            static_cast<Window*>(window.get())->m_layoutScheduled = false;
            window->layoutIfNeeded();
        }
    });
}

namespace {

void markForLayout(View& view) {
    view.setNeedsLayout();
    for (const auto& subview : view.subviews()) {
        markForLayout(*subview);
    }
}

}  // namespace

void Window::setNeedsLayoutBelow() {
    markForLayout(*this);
}

}  // namespace platform
