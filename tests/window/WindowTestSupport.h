#pragma once

// The client as the program runs it (fake school services, manual clock), its screen in a
// window of SDL's offscreen driver, driven with the desktop's own mouse and keyboard events.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/desktop/DesktopWindow.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Application.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/WebView.h"
#include "tests/shell/HomeTestSupport.h"

namespace windowtest {

using platform::Point;
using platform::desktop::DesktopWindow;

inline constexpr std::chrono::milliseconds kNoWait{0};

class WindowTest : public hometest::HomeTest {
protected:
    WindowTest() { ::setenv("SDL_VIDEODRIVER", "offscreen", 1); }
    ~WindowTest() override { window.reset(); }

    void open() {
        launch();
        window = std::make_unique<DesktopWindow>(platform::Application::shared());
        window->pump(kNoWait);
    }

    // Handles what was posted, lets the clock run past animations, handles what that
    // posted, waits for what was sent to a page (a click, a key) to come back from WebKit,
    // and draws.
    void pump() {
        window->pump(kNoWait);
        settle();
        awaitWebRest();
        window->pump(kNoWait);
    }
    // The pages' work under way has come back (bounded), the window handling its events
    // meanwhile.
    void awaitWebRest() {
        waitForWeb([&] {
            window->pump(kNoWait);
            return !platform::WebView::anyBusy();
        });
    }

    Point pixel(Point point) const {
        return {point.x * window->scale(), point.y * window->scale()};
    }

    // Waits for a page to show the text or the handle (its load and the layout after it): the
    // page's work has come back from WebKit, so what shows stands where the page has it.
    std::shared_ptr<platform::View> awaitShown(const std::string& text) {
        std::shared_ptr<platform::View> found;
        waitForWeb([&] {
            window->pump(kNoWait);
            if (platform::WebView::anyBusy()) {
                return false;
            }
            found = driver.find(text);
            if (!found) {
                found = driver.findByHandle(text);
            }
            return found != nullptr;
        });
        pump();
        return found;
    }

    // The centre of what shows of the view, in window points.
    static Point centreOf(const platform::View& view) {
        platform::Rect rect = view.convertRectTo(view.bounds(), nullptr);
        return {rect.midX(), rect.midY()};
    }

    void click(Point point) {
        window->postMouseButton(pixel(point), true);
        window->postMouseButton(pixel(point), false);
        pump();
    }

    // The button held down at `from`, moved to `to` as a hand moves a mouse (a motion event
    // every few points), released there.
    void dragMouse(Point from, Point to, int motions = 12) {
        window->postMouseButton(pixel(from), true);
        for (int i = 1; i <= motions; ++i) {
            double t = double(i) / motions;
            window->postMouseMotion(
                pixel({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t}), true);
        }
        window->postMouseButton(pixel(to), false);
        pump();
    }

    // The screen as the renderer draws it at the window's scale, through its PNG.
    platform::Image rendererPng() const {
        platform::BitmapContext context(platform::Screen::main().size(), window->scale(), true);
        platform::renderScreen(*platform::Application::shared().keyWindow(), context);
        return platform::Image::decode(context.pngData());
    }

    // Pixels of the two images that differ (all of them when the sizes differ).
    static long differingPixels(const platform::Image& a, const platform::Image& b) {
        if (a.pixelWidth() != b.pixelWidth() || a.pixelHeight() != b.pixelHeight())
            return long(a.pixelWidth()) * a.pixelHeight() + 1;
        long differing = 0;
        for (int y = 0; y < a.pixelHeight(); ++y)
            for (int x = 0; x < a.pixelWidth(); ++x)
                differing += a.pixelAt(x, y) != b.pixelAt(x, y);
        return differing;
    }

    platform::TableView& news() const { return *home()->newsTableView(); }

    std::unique_ptr<DesktopWindow> window;
};

}  // namespace windowtest
