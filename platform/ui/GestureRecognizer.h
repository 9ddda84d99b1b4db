#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/ui/Touch.h"

namespace platform {

class GestureRecognizerDelegate;
class View;

enum class GestureState { Possible, Began, Changed, Ended, Cancelled, Failed };

// The phone's UIGestureRecognizer. A view owns the recognisers attached to it; the window's
// touch delivery feeds them the touches that begin in or below that view, before the view
// itself. A recogniser that recognises cancels the view's touches (cancelsTouchesInView)
// and, at that moment, makes the others of the touch sequence that are still possible fail
// unless a delegate lets both run: one touch sequence is one gesture.
class GestureRecognizer {
public:
    using Action = std::function<void(GestureRecognizer&)>;

    GestureRecognizer() = default;
    explicit GestureRecognizer(Action action);
    virtual ~GestureRecognizer();
    GestureRecognizer(const GestureRecognizer&) = delete;
    GestureRecognizer& operator=(const GestureRecognizer&) = delete;

    void addTarget(Action action);
    void removeAllTargets() { m_actions.clear(); }

    GestureState state() const { return m_state; }
    std::shared_ptr<View> view() const;
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool cancelsTouchesInView() const { return m_cancelsTouchesInView; }
    void setCancelsTouchesInView(bool cancels) { m_cancelsTouchesInView = cancels; }
    std::shared_ptr<GestureRecognizerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<GestureRecognizerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    // Where the touch is now; null = window coordinates.
    Point locationInView(const View* view) const;

    // Touch delivery. Subclasses decide their state here through setState.
    virtual void touchesBegan(const Touches& touches);
    virtual void touchesMoved(const Touches& touches);
    virtual void touchesEnded(const Touches& touches);
    virtual void touchesCancelled(const Touches& touches);
    // Back to Possible once the touch sequence is over.
    virtual void reset();

    // A single-tap recogniser above an enabled control leaves the tap to the control, as on
    // the phone, so a button inside a tappable view still gets its own taps.
    virtual bool yieldsToControls() const { return false; }
    bool hasRecognized() const;
    bool isFinished() const;
    // Fails a recogniser that has not recognised yet, without running its actions (another
    // recogniser took the touch).
    void preventRecognition();

protected:
    // Moving out of Possible asks the delegate first; a refusal fails the recogniser.
    // Began, Changed, Ended and Cancelled run the actions.
    void setState(GestureState state);
    Point lastLocation() const { return m_lastLocation; }

private:
    friend class View;
    friend class Window;

    View* m_view{nullptr};
    // Set by the window for the length of one touch sequence: runs as the recogniser
    // recognises (leaves Possible with its delegate's consent), before its actions, so that
    // the sequence's recognisers that may not work with it have failed by then.
    std::function<void(GestureRecognizer&)> m_onRecognize;
    std::vector<Action> m_actions;
    std::weak_ptr<GestureRecognizerDelegate> m_delegate;
    GestureState m_state{GestureState::Possible};
    bool m_enabled{true};
    bool m_cancelsTouchesInView{true};
    Point m_lastLocation;
};

}  // namespace platform
