#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/ui/KeyboardKeys.h"

namespace platform {
class Application;
class Window;
}  // namespace platform

namespace platform::desktop {

struct DesktopWindowOptions {
    std::string title = "campus";
    // Pixels per point; 0 takes the main screen's (2 on the stand-in phone, so text is sharp).
    double scale = 0;
    // Told of a fault a screen raised while handling a click or a key, which ends only that
    // input, never the window. Empty writes it to standard error.
    std::function<void(const std::string&)> reportError;
};

// The keys of the phone's keyboard that are not text.
enum class Key { Return, Backspace };

// The phone's screen in a desktop window (SDL2): shows the application's key window as the
// renderer draws it (renderScreen) at the screen's scale, and turns the mouse into the
// finger and the desktop keyboard into the phone's.
//
// - A frame is drawn only when platform::displayGeneration() has moved since the last one,
//   or when the desktop asks (the window was exposed or resized): an idle screen costs
//   nothing.
// - Mouse button, motion and release are one finger's touch down, moves and up, delivered to
//   the window as the UI driver's are (hit-testing, gesture recognisers, scroll views'
//   delegate events). While an alert shows, a click reaches only the alert: its drawn buttons
//   and fields. A click on the on-screen keyboard (which the renderer draws while a field is
//   edited) reaches nothing below it, as on the phone: lifted on the key it went down on, it
//   types that key (delete and return act as the desktop's Backspace and Enter).
// - The wheel drags the innermost scroll view under the pointer that can move that way,
//   within its content (a wheel does not pull past the edges). With Control held it pinches
//   the innermost scroll view under the pointer that zooms (the image preview).
// - Text input events type into the first responder; Return and Backspace are the
//   keyboard's return and delete keys.
// - While a field is edited its caret blinks, 0.6 s shown and 0.6 s not, on
//   the run loop's clock; it shows steady again at each click or key (screenshots never blink).
// - When the screen's bounds change (the device turned), the window takes their shape.
// - While waiting for events the main run loop keeps running: the wait ends when the next
//   delayed task or timer falls due or when any thread posts to the loop.
//
// Main thread only (the post* input methods too). Throws std::runtime_error saying why when
// no window can be opened.
class DesktopWindow {
public:
    explicit DesktopWindow(Application& application, DesktopWindowOptions options = {});
    ~DesktopWindow();
    DesktopWindow(const DesktopWindow&) = delete;
    DesktopWindow& operator=(const DesktopWindow&) = delete;

    // Runs until the window is closed or quit() is called.
    void run();
    // One turn: waits (at most `maxWait`, and not at all when an event or task is waiting)
    // for an event, a posted task or a due timer; then handles the events, runs the due
    // tasks and draws a frame if the screen changed.
    void pump(std::chrono::milliseconds maxWait);
    void quit() { m_closed = true; }
    bool isClosed() const { return m_closed; }

    // Pixels per point: the screen's scale, less where the desktop is too small for it.
    double scale() const { return m_scale; }
    // Frames drawn into the window so far.
    std::uint64_t framesPresented() const { return m_frames; }
    // What the window shows now, its pixels at the window's scale.
    Image pixels() const;

    // Input as the desktop delivers it, at window pixels, queued as the desktop's own events
    // and handled on the next pump().
    void postMouseButton(Point pixel, bool down);
    void postMouseMotion(Point pixel, bool buttonHeld);
    // `notches` as a wheel reports them: positive y scrolls up (towards the content's top),
    // positive x to the right. `control`: the Control key is held (it sets the keyboard's
    // state, which the wheel's events read when they are handled).
    void postMouseWheel(Point pixel, Point notches, bool control = false);
    void postTextInput(const std::string& utf8);
    void postKey(Key key);

private:
    struct Sdl;
    enum class Finger { None, Window, Alert, Keyboard };

    void waitForWork(std::chrono::milliseconds maxWait);
    void handleEvents();
    void handleEvent(const void* event);
    void fitToWindowSize();
    void followScreenSize();
    // The scale asked for in the options, else the screen's own.
    double preferredScale() const;
    // The largest scale at which the screen fits the desktop's free area below a title bar.
    double desktopFit() const;
    void drawIfChanged();
    void draw();
    // Whether the caret shows at this moment of its blink.
    bool caretBlinkShown() const;
    // The next moment the caret shows or hides, while one stands on the screen.
    std::optional<TimePoint> nextBlink() const;

    Point toPoints(Point pixel) const;
    void press(Point point);
    void move(Point point);
    void release(Point point);
    void cancelTouch();
    // The key window when the wheel at the point may reach it: no finger down, no alert
    // blocking, the keyboard not over the point.
    std::shared_ptr<Window> wheelTarget(Point point) const;
    void scrollWheel(Point point, Point notches);
    void pinchWheel(Point point, double notches);
    // Starts a touch on the on-screen keyboard when it is up under the point.
    bool pressKeyboard(Point point);
    void releaseKeyboard(Point point);
    void typeText(const std::string& text);
    void pressKey(Key key);
    void report(const std::string& what, const std::exception& error);

    Application& m_application;
    DesktopWindowOptions m_options;
    std::unique_ptr<Sdl> m_sdl;
    double m_scale{2};
    Size m_points;
    bool m_closed{false};
    bool m_needsFrame{true};
    std::uint64_t m_drawnGeneration{0};
    std::uint64_t m_frames{0};
    // The blink starts again (shown) at each input; the last frame had a caret, and showed it.
    TimePoint m_blinkStart;
    bool m_caretStood{false};
    bool m_caretShownDrawn{true};
    Finger m_finger{Finger::None};
    Point m_fingerAt;
    int m_alertButton{-1};
    // The on-screen key the finger went down on.
    std::optional<KeyboardKey> m_keyboardKey;
    // Wakeups of the run loop (posts from any thread), and whether the main thread is asleep
    // in the desktop's event wait and must be woken there.
    std::shared_ptr<std::atomic<std::uint64_t>> m_wakeups;
    std::shared_ptr<std::atomic<bool>> m_sleeping;
};

}  // namespace platform::desktop
