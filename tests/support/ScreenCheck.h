#pragma once

// What screen tests look at on a window: whether a finger reaches a view, where a view stands
// on the screen and what the screen shows, at the phone and tablet sizes a screen must suit.

#include <array>
#include <memory>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace testsupport {

// A small phone, a standard phone and a tablet, upright.
inline constexpr std::array<platform::Size, 3> kPhoneAndTabletScreens{
    platform::Size{320, 568}, platform::Size{375, 667}, platform::Size{768, 1024}};

// The view's bounds in the window's (the screen's) coordinates.
inline platform::Rect onScreen(const platform::View& view) {
    return view.convertRectTo(view.bounds(), nullptr);
}

// Whether a finger at the middle of what shows of the view lands on it.
inline bool takesTouch(platform::Window& window, const std::shared_ptr<platform::View>& view) {
    const platform::Rect shown = onScreen(*view).intersection(window.bounds());
    if (shown.isEmpty())
        return false;
    auto hit = window.hitTest(platform::Point{shown.midX(), shown.midY()});
    return hit && (hit == view || hit->isDescendantOf(view.get()));
}

// The whole screen as the window draws it, one pixel a point.
inline platform::Image screenImage(platform::Window& window) {
    platform::BitmapContext context(platform::Screen::main().size(), 1, true);
    platform::renderScreen(window, context);
    return context.makeImage();
}

// A fresh key window on a screen of the size, `root` at its root and `presented` shown over it,
// laid out.
inline std::shared_ptr<platform::Window> presentOnScreen(
    double width, double height, const std::shared_ptr<platform::ViewController>& root,
    const std::shared_ptr<platform::ViewController>& presented) {
    platform::testing::useScreen(width, height);
    auto window = platform::View::make<platform::Window>();
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    root->presentViewController(presented, false);
    window->layoutIfNeeded();
    return window;
}

}  // namespace testsupport
