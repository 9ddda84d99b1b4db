#pragma once

#include <memory>

#include "platform/ui/View.h"

namespace platform {

class ViewController;

// The phone's UIWindow: the root of a view tree, holding the root view controller's view.
// A window starts hidden; makeKeyAndVisible shows it (the root controller appears) and
// makes it the application's key window.
//
// Touches come in here, in window coordinates, one finger at a time: the hit-tested view and
// the gesture recognisers on it and its superviews get them, as on the phone. The recognisers
// get each touch deepest view first, so when two would recognise on the same move, the one on
// the deeper view (a scroll view inside a container that pans) takes the sequence.
class Window : public View {
public:
    // The main screen's bounds.
    Window();
    explicit Window(const Rect& frame);
    ~Window() override;

    std::shared_ptr<ViewController> rootViewController() const { return m_rootViewController; }
    void setRootViewController(std::shared_ptr<ViewController> controller);

    void makeKeyAndVisible();
    void makeKeyWindow();
    bool isKeyWindow() const;
    void setHidden(bool hidden) override;

    // Returns whether a view took the touch.
    bool touchDown(Point location);
    void touchMove(Point location);
    void touchUp(Point location);
    void touchCancel();
    bool isTouching() const { return m_touch != nullptr; }
    // Down and up at one point.
    bool tap(Point location);
    // Down at `from`, `steps` moves in a straight line, up at `to`.
    bool drag(Point from, Point to, int steps = 4);

    // Lays out, on the main run loop's next turn, whatever in this tree needs it.
    void scheduleLayoutPass();
    // Marks every view in the tree for layout (after a change that moves bars).
    void setNeedsLayoutBelow();

    std::string describe() const override { return "window"; }

private:
    struct TouchSequence;
    // The current touch moves to `location` in `phase` (Moved or Ended) and is delivered.
    void advanceTouch(Point location, TouchPhase phase);
    // Hands the touch, in its phase, to the sequence's recognisers, then (once they have
    // settled) to the view unless they cancelled its touches. False when a recogniser ended
    // the sequence on the way.
    bool deliverTouch(const std::shared_ptr<TouchSequence>& sequence);
    // `recognizer` recognises: the sequence's other recognisers that may not work with it fail.
    static void excludeOthers(TouchSequence& sequence, GestureRecognizer& recognizer);
    void cancelViewTouchesIfTaken();
    void finishTouchSequence();

    std::shared_ptr<ViewController> m_rootViewController;
    std::shared_ptr<TouchSequence> m_touch;
    bool m_layoutScheduled{false};
};

}  // namespace platform
