#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/testing/DriverResult.h"
#include "platform/testing/ScreenOutline.h"

namespace platform {
class Application;
class ScrollView;
class View;
class ViewController;
class Window;
}  // namespace platform

namespace platform::testing {

// Drives the application's key window the way a user does, for tests and the terminal front
// end: reads what the screen shows (outline(), find...) and acts on it. Every action goes
// through the same path as a finger: the target's visible centre is hit-tested in window
// coordinates and the touch is delivered there, so a hidden, disabled or covered control,
// or anything under an alert or the keyboard, cannot be tapped; the result says why.
// After each action the run loop's waiting tasks run (as they would before the next frame).
// Main thread only.
//
// Targets are named by handle (see ScreenOutline) or by the text they show: an exact match
// first, then a substring. While an alert shows, its buttons and fields are looked at first.
class UIDriver {
public:
    explicit UIDriver(Application& application);
    UIDriver();

    // --- Reading --------------------------------------------------------------------------
    std::shared_ptr<Window> window() const;
    // The screen on top: the last controller presented over the window's root (alerts
    // aside), else the root.
    std::shared_ptr<ViewController> currentScreen() const;
    // The screen as it is now, with handles given.
    ScreenOutline snapshot() const;
    std::string outline() const;

    // The view showing the text (a row's cell for the text in a row). Alert buttons are not
    // views: tap() and pressAlertButton() reach them.
    std::shared_ptr<View> find(const std::string& text) const;
    std::shared_ptr<View> findByHandle(const std::string& handle) const;
    // The visible views of a type, in drawing order.
    template <typename T>
    std::vector<std::shared_ptr<T>> findAll() const {
        std::vector<std::shared_ptr<T>> found;
        auto outline = snapshot();
        for (const auto& view : outline.visibleViews()) {
            if (auto typed = std::dynamic_pointer_cast<T>(view)) {
                found.push_back(typed);
            }
        }
        return found;
    }
    // Every text the outline shows, top to bottom.
    std::vector<std::string> visibleTexts() const;
    // The handle the outline gives the view (or its nearest listed ancestor); "" when none.
    std::string handleOf(const View& view) const;

    // --- Acting ---------------------------------------------------------------------------
    DriverResult tap(const std::string& handleOrText);
    DriverResult tap(const std::shared_ptr<View>& view);
    // Taps the field (unless it is already being edited), then types into it: at the end of
    // its text when the tap began editing, else where its caret stands.
    DriverResult type(const std::string& handleOrText, const std::string& text);
    // The return key on the keyboard of the field being edited.
    DriverResult pressReturn();
    // Presses the target where a tap would, moves the finger in short steps (as a hand
    // does, a few points a step) to `to`, in window coordinates, and lifts it there. A view
    // that follows the finger ends with its centre at `to`.
    DriverResult drag(const std::string& handleOrText, Point to);
    DriverResult drag(const std::shared_ptr<View>& view, Point to);
    // ... to the centre of what shows of the other target when the drag begins.
    DriverResult dragOnto(const std::string& handleOrText, const std::string& ontoHandleOrText);
    // The navigation bar's back button, else its leftmost bar button.
    DriverResult back();
    // Pulls the content down past its top (refresh) or up past its bottom (load more): the
    // first scroll view on screen, or the one named.
    DriverResult pullDown();
    DriverResult pullDown(const std::string& handleOrText);
    DriverResult pullDown(const std::shared_ptr<ScrollView>& scrollView);
    DriverResult pullUp();
    DriverResult pullUp(const std::string& handleOrText);
    DriverResult pullUp(const std::shared_ptr<ScrollView>& scrollView);
    // Swipes the paging scroll view (the view named, or the first scroll view inside it)
    // to the page.
    DriverResult swipeToPage(const std::string& handleOrText, int page);
    DriverResult swipeToPage(const std::shared_ptr<View>& view, int page);
    // A finger put down at `from` (window coordinates), moved in a straight line and lifted
    // at `to`: the drag gestures that no control names, such as swiping the side menu open.
    DriverResult dragFinger(Point from, Point to);
    // A button of the alert on top, by title or handle ("a1"), or by index.
    DriverResult pressAlertButton(const std::string& titleOrHandle);
    DriverResult pressAlertButton(int index);
    // Moves the manual clock on when one is installed (running what falls due), else runs
    // the loop that long in real time.
    DriverResult wait(double seconds);
    // Runs the loop until the condition holds, for at most `boundSeconds` of real time.
    DriverResult runUntil(const std::function<bool()>& condition, double boundSeconds = 10);
    // The key window (and the alerts over it) as a PNG of the window's size.
    DriverResult screenshot(const std::filesystem::path& path);

    // How far pulls go beyond the edge; more than any refresh control needs.
    double pullDistance() const { return m_pullDistance; }
    void setPullDistance(double distance) { m_pullDistance = distance; }

private:
    struct Target;

    Target resolve(const ScreenOutline& outline, const std::string& handleOrText) const;
    DriverResult tapEntry(const OutlineEntry& entry);
    DriverResult tapView(const std::shared_ptr<View>& view);
    // The keyboard's key standing at the frame (a form bar's key of the outline).
    DriverResult pressKeyboardKey(const Rect& frame);
    DriverResult typeInto(const std::shared_ptr<View>& view, const std::string& name,
                          const std::string& text);
    DriverResult pull(const std::shared_ptr<ScrollView>& scrollView, bool down);
    DriverResult pullNamed(const std::string& handleOrText, bool down);
    DriverResult pullFirst(bool down);
    // Where a finger would touch the view (the centre of what shows of it above the
    // keyboard), and whether it would reach the view there. `tapping` lets a tap on a view
    // that takes no touches itself go to what holds it.
    DriverResult aim(const std::shared_ptr<View>& view, bool tapping, Point& point) const;
    DriverResult reaches(Window& window, const std::shared_ptr<View>& view, Point point,
                         bool tapping) const;
    DriverResult checkReachable(const std::shared_ptr<View>& view) const;
    void settle();

    Application* m_application{nullptr};
    double m_pullDistance{120};
};

}  // namespace platform::testing
