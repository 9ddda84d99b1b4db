#include "platform/desktop/DesktopWindow.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Caret.h"
#include "platform/ui/DisplayChanges.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"

namespace platform::desktop {

namespace {

// A finger reports a move every few points; a long jump of the mouse between two motion
// events is handed on in steps no longer than this, so nothing the pointer passes over is
// skipped (the UI driver's drags step the same way).
constexpr double kFingerStep = 8;
// How far one notch of the wheel drags the content, in points.
constexpr double kPointsPerNotch = 40;
// Room a desktop's window frame takes above the window, in pixels.
constexpr int kTitleBar = 48;
// How long the caret shows, then how long it hides: the common desktop blink of 1.2 s.
constexpr std::chrono::milliseconds kBlinkHalf{600};

std::chrono::milliseconds until(TimePoint due, TimePoint now) {
    if (due <= now) {
        return std::chrono::milliseconds(0);
    }
    // Rounded up, so the wait does not end a moment before the task is due and spin.
    return std::chrono::ceil<std::chrono::milliseconds>(due - now);
}

}  // namespace

struct DesktopWindow::Sdl {
    SDL_Window* window = nullptr;
    Uint32 wakeEvent = 0;
    // The offscreen and dummy drivers have no event source of their own, and SDL's wait
    // polls every millisecond for them; there nothing but SDL_PushEvent can add an event, so
    // the window sleeps on the run loop's own wakeup instead and stays idle for real.
    bool headless = false;
};

DesktopWindow::DesktopWindow(Application& application, DesktopWindowOptions options)
    : m_application(application),
      m_options(std::move(options)),
      m_sdl(std::make_unique<Sdl>()),
      m_wakeups(std::make_shared<std::atomic<std::uint64_t>>(0)),
      m_sleeping(std::make_shared<std::atomic<bool>>(false)) {
    m_scale = preferredScale();
    m_points = Screen::main().size();
    m_blinkStart = RunLoop::main().now();
    // A click that focuses the window also taps, and the desktop's compositor stays on.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        throw std::runtime_error(std::string("no window system: ") + SDL_GetError());
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    m_sdl->headless =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    // Without a display the window's surface is the driver's own memory: SDL would otherwise
    // load a GL stack (and leave its allocations behind) only to copy pixels nobody sees.
    if (m_sdl->headless) {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    // A 667-point screen at 2x is 1334 pixels tall, more than many desktops show: there the
    // scale comes down until the whole phone (tab bar included) fits the desktop's free area
    // below a title bar.
    m_scale = std::min(m_scale, desktopFit());
    const int width = int(std::ceil(m_points.width * m_scale));
    const int height = int(std::ceil(m_points.height * m_scale));
    m_sdl->window = SDL_CreateWindow(m_options.title.c_str(), SDL_WINDOWPOS_CENTERED,
                                     SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_SHOWN);
    if (!m_sdl->window) {
        std::string reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw std::runtime_error("cannot open a window: " + reason);
    }
    m_sdl->wakeEvent = SDL_RegisterEvents(1);
    // Typed text arrives as text events (through the desktop's input method for Chinese).
    SDL_StartTextInput();

    auto wakeups = m_wakeups;
    auto sleeping = m_sleeping;
    const Uint32 wakeEvent = m_sdl->wakeEvent;
    RunLoop::main().setWakeHandler([wakeups, sleeping, wakeEvent] {
        wakeups->fetch_add(1);
        // Only a sleeper needs an event to wake it; one event is enough for any number of
        // posts.
        if (wakeEvent != Uint32(-1) && sleeping->exchange(false)) {
            SDL_Event event{};
            event.type = wakeEvent;
            SDL_PushEvent(&event);
        }
    });
}

DesktopWindow::~DesktopWindow() {
    RunLoop::main().setWakeHandler({});
    if (m_finger == Finger::Window) {
        if (auto window = m_application.keyWindow()) {
            window->touchCancel();
        }
    }
    SDL_StopTextInput();
    SDL_DestroyWindow(m_sdl->window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// --- The loop ---------------------------------------------------------------------------

void DesktopWindow::run() {
    // Longer than any wait needs to be: a due timer or a post ends it sooner.
    constexpr std::chrono::milliseconds kLongWait{60'000};
    while (!m_closed) {
        pump(kLongWait);
    }
}

void DesktopWindow::pump(std::chrono::milliseconds maxWait) {
    // The first frame (and one after an expose) is drawn before any waiting.
    drawIfChanged();
    waitForWork(maxWait);
    handleEvents();
    RunLoop::main().runPending();
    drawIfChanged();
}

void DesktopWindow::waitForWork(std::chrono::milliseconds maxWait) {
    RunLoop& loop = RunLoop::main();
    auto timeout = maxWait;
    if (!loop.hasManualClock()) {
        // On the manual clock nothing falls due unless a test moves it.
        if (auto due = loop.nextDue()) {
            timeout = std::min(timeout, until(*due, loop.now()));
        }
        if (auto blink = nextBlink()) {
            timeout = std::min(timeout, until(*blink, loop.now()));
        }
    }
    SDL_PumpEvents();
    if (timeout.count() <= 0 || SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) {
        return;
    }
    if (m_sdl->headless) {
        // Not so long that a signal's quit event (which SDL turns into an event only when
        // asked for events) waits long for its turn.
        constexpr std::chrono::milliseconds kHeadlessWait{500};
        timeout = std::min(timeout, kHeadlessWait);
        const std::uint64_t before = m_wakeups->load();
        const std::uint64_t generation = displayGeneration();
        loop.runUntil(
            [&] {
                return m_wakeups->load() != before || displayGeneration() != generation ||
                       SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
            },
            timeout);
        return;
    }
    // Asleep from here: a post from now on pushes the wake event. Whatever was posted before
    // is seen by the check that follows.
    m_sleeping->store(true);
    if (!loop.hasWorkDueNow()) {
        SDL_WaitEventTimeout(nullptr, int(std::min<long long>(timeout.count(), 1'000'000)));
    }
    m_sleeping->store(false);
}

void DesktopWindow::handleEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        handleEvent(&event);
    }
}

void DesktopWindow::handleEvent(const void* raw) {
    const SDL_Event& event = *static_cast<const SDL_Event*>(raw);
    if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_TEXTINPUT ||
        event.type == SDL_KEYDOWN) {
        // The caret stays shown while the user works, so it can be found where it went.
        m_blinkStart = RunLoop::main().now();
    }
    switch (event.type) {
        case SDL_QUIT:
            m_closed = true;
            break;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    m_closed = true;
                    break;
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_RESIZED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    fitToWindowSize();
                    m_needsFrame = true;
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                    m_needsFrame = true;
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    // The button's release may never come: the finger leaves the glass.
                    cancelTouch();
                    break;
                default:
                    break;
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT) {
                press(toPoints(Point{double(event.button.x), double(event.button.y)}));
            }
            break;
        case SDL_MOUSEMOTION:
            if (event.motion.state & SDL_BUTTON_LMASK) {
                move(toPoints(Point{double(event.motion.x), double(event.motion.y)}));
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT) {
                release(toPoints(Point{double(event.button.x), double(event.button.y)}));
            }
            break;
        case SDL_MOUSEWHEEL: {
            double flip = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
            const Point point =
                toPoints(Point{double(event.wheel.mouseX), double(event.wheel.mouseY)});
            const Point notches{flip * event.wheel.preciseX, flip * event.wheel.preciseY};
            // Control and the wheel is the desktop's zoom: the two-finger pinch.
            if (SDL_GetModState() & KMOD_CTRL) {
                pinchWheel(point, notches.y);
            } else {
                scrollWheel(point, notches);
            }
            break;
        }
        case SDL_TEXTINPUT:
            typeText(event.text.text);
            break;
        case SDL_KEYDOWN:
            switch (event.key.keysym.sym) {
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    pressKey(Key::Return);
                    break;
                case SDLK_BACKSPACE:
                    pressKey(Key::Backspace);
                    break;
                default:
                    break;
            }
            break;
        default:
            // The wake event only ends the wait.
            break;
    }
}

// --- Drawing ----------------------------------------------------------------------------

void DesktopWindow::fitToWindowSize() {
    // A window manager may give the window another size than asked (a small desktop): the
    // phone is drawn at the scale that fits it, and clicks are converted by that scale.
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(m_sdl->window, &width, &height);
    if (width <= 0 || height <= 0) {
        return;
    }
    const double fit = std::min(width / m_points.width, height / m_points.height);
    m_scale = std::min(fit, preferredScale());
}

double DesktopWindow::preferredScale() const {
    return m_options.scale > 0 ? m_options.scale : Screen::main().scale();
}

double DesktopWindow::desktopFit() const {
    SDL_Rect usable{};
    if (!m_sdl->headless && SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 &&
        usable.h > kTitleBar) {
        return std::min(usable.w / m_points.width, (usable.h - kTitleBar) / m_points.height);
    }
    return std::numeric_limits<double>::infinity();
}

void DesktopWindow::followScreenSize() {
    // The device turned (or the screen was given another size): the window takes the new
    // shape at the scale it draws at, so a landscape phone shows as a wide window.
    const Size screen = Screen::main().size();
    if (screen == m_points) {
        return;
    }
    m_points = screen;
    if (m_finger == Finger::Window) {
        cancelTouch();
    }
    m_scale = std::min(preferredScale(), desktopFit());
    SDL_SetWindowSize(m_sdl->window, int(std::ceil(m_points.width * m_scale)),
                      int(std::ceil(m_points.height * m_scale)));
    fitToWindowSize();
    m_needsFrame = true;
}

void DesktopWindow::drawIfChanged() {
    followScreenSize();
    if (m_needsFrame || displayGeneration() != m_drawnGeneration ||
        (m_caretStood && caretBlinkShown() != m_caretShownDrawn)) {
        draw();
    }
}

bool DesktopWindow::caretBlinkShown() const {
    const auto elapsed = RunLoop::main().now() - m_blinkStart;
    return elapsed < Duration::zero() || (elapsed / kBlinkHalf) % 2 == 0;
}

std::optional<TimePoint> DesktopWindow::nextBlink() const {
    if (!m_caretStood) {
        return std::nullopt;
    }
    const auto elapsed = RunLoop::main().now() - m_blinkStart;
    if (elapsed < Duration::zero()) {
        return m_blinkStart;
    }
    return m_blinkStart + (elapsed / kBlinkHalf + 1) * kBlinkHalf;
}

void DesktopWindow::draw() {
    SDL_Surface* target = SDL_GetWindowSurface(m_sdl->window);
    if (!target) {
        return;
    }
    BitmapContext context(m_points, m_scale, true);
    const bool caretShown = caretBlinkShown();
    CaretFrame frame(caretShown);
    if (auto window = m_application.keyWindow()) {
        renderScreen(*window, context);
    } else {
        context.fillRect(Rect{{0, 0}, m_points}, Color::white());
    }
    m_caretStood = frame.caretStood();
    m_caretShownDrawn = caretShown;
    // Taken after drawing: laying out during the draw counts as a change, and what it changed
    // is in this frame. Taking it before would draw again at once, for ever.
    m_drawnGeneration = displayGeneration();
    m_needsFrame = false;
    cairo_surface_t* surface = cairo_get_target(context.cairo());
    cairo_surface_flush(surface);
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
        cairo_image_surface_get_height(surface), 32, cairo_image_surface_get_stride(surface),
        SDL_PIXELFORMAT_ARGB8888);
    if (!source) {
        return;
    }
    // Opaque pixels: copied as they are, not blended with what the window held. A window
    // larger than the phone shows white beside it.
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    if (target->w > source->w || target->h > source->h) {
        SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 255, 255, 255));
    }
    SDL_BlitSurface(source, nullptr, target, nullptr);
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurface(m_sdl->window);
    ++m_frames;
}

Image DesktopWindow::pixels() const {
    SDL_Surface* target = SDL_GetWindowSurface(m_sdl->window);
    if (!target) {
        return Image();
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(target, SDL_PIXELFORMAT_ARGB8888, 0);
    if (!argb) {
        return Image();
    }
    std::vector<std::uint32_t> data(size_t(argb->w) * size_t(argb->h));
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(argb->pixels) + std::ptrdiff_t(y) * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            // A window has no transparency.
            data[size_t(y) * size_t(argb->w) + size_t(x)] = row[x] | 0xFF000000u;
        }
    }
    SDL_UnlockSurface(argb);
    const int width = argb->w;
    const int height = argb->h;
    SDL_FreeSurface(argb);
    return Image::fromARGB(width, height, std::move(data), m_scale);
}

// --- The finger -------------------------------------------------------------------------

Point DesktopWindow::toPoints(Point pixel) const {
    // The desktop keeps reporting a held button's motion outside the window; the finger stays
    // on the glass, at its edge.
    return Point{std::clamp(pixel.x / m_scale, 0.0, m_points.width),
                 std::clamp(pixel.y / m_scale, 0.0, m_points.height)};
}

void DesktopWindow::press(Point point) {
    cancelTouch();
    auto window = m_application.keyWindow();
    if (!window) {
        return;
    }
    try {
        window->layoutIfNeeded();
        if (AlertPresenter::shared().isModalBlocking()) {
            // An alert's own field may be edited: the keyboard beside the alert types into it.
            if (pressKeyboard(point)) {
                return;
            }
            // Only the alert on top takes touches: a field of it begins editing, a button is
            // pressed when the finger lifts on it.
            auto alert = AlertPresenter::shared().topAlert();
            auto* view = dynamic_cast<View*>(alert.get());
            if (!view || view->window()) {
                // An alert controller's fields are in the window, under its own view.
                auto hit = window->hitTest(point);
                if (auto field = std::dynamic_pointer_cast<TextField>(hit)) {
                    field->becomeFirstResponder();
                }
                return;
            }
            Point inAlert{point.x - view->frame().origin.x, point.y - view->frame().origin.y};
            view->layoutIfNeeded();
            if (auto field = std::dynamic_pointer_cast<TextField>(view->hitTest(inAlert))) {
                field->becomeFirstResponder();
                return;
            }
            m_alertButton = alert->buttonIndexAt(inAlert);
            m_finger = m_alertButton >= 0 ? Finger::Alert : Finger::None;
            return;
        }
        if (pressKeyboard(point) || (Keyboard::isVisible() && Keyboard::frame().contains(point))) {
            return;
        }
        if (window->touchDown(point)) {
            m_finger = Finger::Window;
            m_fingerAt = point;
        }
    } catch (const std::exception& error) {
        report("a touch", error);
    }
}

void DesktopWindow::move(Point point) {
    if (m_finger != Finger::Window) {
        return;
    }
    auto window = m_application.keyWindow();
    if (!window || !window->isTouching()) {
        m_finger = Finger::None;
        return;
    }
    try {
        const double distance = std::hypot(point.x - m_fingerAt.x, point.y - m_fingerAt.y);
        const int steps = std::max(1, int(std::ceil(distance / kFingerStep)));
        const Point from = m_fingerAt;
        for (int i = 1; i <= steps && window->isTouching(); ++i) {
            double t = double(i) / steps;
            window->touchMove(
                Point{from.x + (point.x - from.x) * t, from.y + (point.y - from.y) * t});
        }
        m_fingerAt = point;
    } catch (const std::exception& error) {
        report("a drag", error);
    }
}

void DesktopWindow::release(Point point) {
    if (m_finger == Finger::Keyboard) {
        m_finger = Finger::None;
        releaseKeyboard(point);
        return;
    }
    if (m_finger == Finger::Alert) {
        m_finger = Finger::None;
        auto alert = AlertPresenter::shared().topAlert();
        auto* view = dynamic_cast<View*>(alert.get());
        if (!view) {
            return;
        }
        Point inAlert{point.x - view->frame().origin.x, point.y - view->frame().origin.y};
        // Lifted on the button it went down on, as a button takes a tap.
        if (alert->buttonIndexAt(inAlert) == m_alertButton) {
            try {
                alert->pressButton(m_alertButton);
            } catch (const std::exception& error) {
                report("an alert button", error);
            }
        }
        return;
    }
    if (m_finger != Finger::Window) {
        return;
    }
    move(point);
    m_finger = Finger::None;
    auto window = m_application.keyWindow();
    if (!window || !window->isTouching()) {
        return;
    }
    try {
        window->touchUp(point);
    } catch (const std::exception& error) {
        report("a touch", error);
    }
}

void DesktopWindow::cancelTouch() {
    if (m_finger == Finger::Window) {
        if (auto window = m_application.keyWindow(); window && window->isTouching()) {
            window->touchCancel();
        }
    }
    m_finger = Finger::None;
    m_keyboardKey.reset();
}

std::shared_ptr<Window> DesktopWindow::wheelTarget(Point point) const {
    auto window = m_application.keyWindow();
    if (!window || m_finger != Finger::None || AlertPresenter::shared().isModalBlocking() ||
        (Keyboard::isVisible() && Keyboard::frame().contains(point))) {
        return nullptr;
    }
    return window;
}

void DesktopWindow::scrollWheel(Point point, Point notches) {
    auto window = wheelTarget(point);
    if (!window) {
        return;
    }
    // The finger's movement: the wheel turned up shows what lies above, as a finger moving
    // down does.
    const Point movement{-notches.x * kPointsPerNotch, notches.y * kPointsPerNotch};
    try {
        window->layoutIfNeeded();
        for (auto view = window->hitTest(point); view; view = view->superview()) {
            auto scroll = std::dynamic_pointer_cast<ScrollView>(view);
            if (!scroll || !scroll->canScrollAlong(movement)) {
                continue;
            }
            // Within the content: a wheel stops at the edges rather than pulling past them.
            const Point offset = scroll->contentOffset();
            const Point low = scroll->minimumContentOffset();
            const Point high = scroll->maximumContentOffset();
            const Point target{std::clamp(offset.x - movement.x, low.x, std::max(low.x, high.x)),
                               std::clamp(offset.y - movement.y, low.y, std::max(low.y, high.y))};
            const Point translation{offset.x - target.x, offset.y - target.y};
            if (std::abs(translation.x) < 0.5 && std::abs(translation.y) < 0.5) {
                continue;
            }
            scroll->dragBy(translation);
            return;
        }
    } catch (const std::exception& error) {
        report("the wheel", error);
    }
}

void DesktopWindow::pinchWheel(Point point, double notches) {
    // Each notch up spreads the fingers by a quarter, each notch down closes them as much.
    constexpr double kZoomPerNotch = 1.25;
    auto window = notches == 0 ? nullptr : wheelTarget(point);
    if (!window) {
        return;
    }
    try {
        window->layoutIfNeeded();
        for (auto view = window->hitTest(point); view; view = view->superview()) {
            // A web page zooms as the phone's browser zooms it, about the pointer.
            if (auto page = std::dynamic_pointer_cast<WebView>(view)) {
                page->zoomBy(std::pow(kZoomPerNotch, notches),
                             page->convertPointFrom(point, nullptr));
                return;
            }
            auto scroll = std::dynamic_pointer_cast<ScrollView>(view);
            // The innermost scroll view that zooms (its delegate names a view to zoom).
            if (scroll && scroll->maximumZoomScale() > scroll->minimumZoomScale() &&
                scroll->pinchToScale(scroll->zoomScale() * std::pow(kZoomPerNotch, notches))) {
                return;
            }
        }
    } catch (const std::exception& error) {
        report("a pinch", error);
    }
}

// --- The keyboard -----------------------------------------------------------------------

bool DesktopWindow::pressKeyboard(Point point) {
    if (!Keyboard::isVisible() || !Keyboard::frame().contains(point)) {
        return false;
    }
    if (AlertPresenter::shared().isModalBlocking()) {
        // Under a modal alert the keyboard serves only the alert's own fields; it may not
        // reach a field of the screen below.
        auto alert = AlertPresenter::shared().topAlert();
        auto* view = dynamic_cast<View*>(alert.get());
        auto responder = m_application.firstResponder();
        auto fields = alert ? alert->alertTextFields() : std::vector<std::shared_ptr<TextField>>{};
        if (!view || view->frame().contains(point) ||
            std::find(fields.begin(), fields.end(), responder) == fields.end()) {
            return false;
        }
    }
    const auto keys = Keyboard::keys();
    const KeyboardKey* key = keyboardKeyAt(keys, point);
    if (!key) {
        return false;
    }
    m_keyboardKey = *key;
    m_finger = Finger::Keyboard;
    return true;
}

void DesktopWindow::releaseKeyboard(Point point) {
    auto key = std::exchange(m_keyboardKey, std::nullopt);
    if (!key || !Keyboard::isVisible()) {
        return;
    }
    // Lifted on the key it went down on, as the phone's keys type.
    const auto keys = Keyboard::keys();
    const KeyboardKey* under = keyboardKeyAt(keys, point);
    if (!under || under->kind != key->kind || under->title != key->title) {
        return;
    }
    try {
        Keyboard::press(*under);
    } catch (const std::exception& error) {
        report("a key", error);
    }
}

// The computer's keys type as the keys drawn on the screen do, into the input the keyboard
// is up for.
void DesktopWindow::typeText(const std::string& text) {
    try {
        Keyboard::press(KeyboardKey{KeyboardKey::Kind::Character, text, {}, true});
    } catch (const std::exception& error) {
        report("typing", error);
    }
}

void DesktopWindow::pressKey(Key key) {
    try {
        Keyboard::press(
            KeyboardKey{key == Key::Return ? KeyboardKey::Kind::Return : KeyboardKey::Kind::Delete,
                        "",
                        {},
                        true});
    } catch (const std::exception& error) {
        report("a key", error);
    }
}

void DesktopWindow::report(const std::string& what, const std::exception& error) {
    std::string message = what + " failed: " + error.what();
    if (m_options.reportError) {
        m_options.reportError(message);
    } else {
        std::cerr << "campus: " << message << "\n";
    }
}

// --- Input as the desktop delivers it ---------------------------------------------------

void DesktopWindow::postMouseButton(Point pixel, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = SDL_GetWindowID(m_sdl->window);
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = int(std::lround(pixel.x));
    event.button.y = int(std::lround(pixel.y));
    SDL_PushEvent(&event);
}

void DesktopWindow::postMouseMotion(Point pixel, bool buttonHeld) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SDL_GetWindowID(m_sdl->window);
    event.motion.state = buttonHeld ? SDL_BUTTON_LMASK : 0;
    event.motion.x = int(std::lround(pixel.x));
    event.motion.y = int(std::lround(pixel.y));
    SDL_PushEvent(&event);
}

void DesktopWindow::postMouseWheel(Point pixel, Point notches, bool control) {
    SDL_SetModState(control ? KMOD_LCTRL : KMOD_NONE);
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = SDL_GetWindowID(m_sdl->window);
    event.wheel.x = int(notches.x);
    event.wheel.y = int(notches.y);
    event.wheel.preciseX = float(notches.x);
    event.wheel.preciseY = float(notches.y);
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    event.wheel.mouseX = int(std::lround(pixel.x));
    event.wheel.mouseY = int(std::lround(pixel.y));
    SDL_PushEvent(&event);
}

void DesktopWindow::postTextInput(const std::string& utf8) {
    // An event holds a few bytes of text: long text comes as several, split between
    // characters (never inside a UTF-8 sequence), as an input method sends it.
    constexpr size_t kRoom = sizeof(SDL_TextInputEvent::text) - 1;
    size_t start = 0;
    while (start < utf8.size()) {
        size_t end = std::min(utf8.size(), start + kRoom);
        while (end < utf8.size() && end > start && (utf8[end] & 0xC0) == 0x80) {
            --end;
        }
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = SDL_GetWindowID(m_sdl->window);
        std::memcpy(event.text.text, utf8.data() + start, end - start);
        SDL_PushEvent(&event);
        start = end;
    }
}

void DesktopWindow::postKey(Key key) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.windowID = SDL_GetWindowID(m_sdl->window);
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key == Key::Return ? SDLK_RETURN : SDLK_BACKSPACE;
    event.key.keysym.scancode = key == Key::Return ? SDL_SCANCODE_RETURN : SDL_SCANCODE_BACKSPACE;
    SDL_PushEvent(&event);
}

}  // namespace platform::desktop
