// The desktop window follows the device when it turns: the window takes the landscape shape
// and a click lands where the turned screen shows its button.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "platform/desktop/DesktopWindow.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Device.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace {

using platform::Point;

// A screen laid out for every orientation the phone takes.
class TurningScreen : public platform::ViewController {
public:
    platform::InterfaceOrientationMask supportedInterfaceOrientations() const override {
        return platform::OrientationMask::AllButUpsideDown;
    }
};

TEST(WindowRotation, TheWindowTakesTheTurnedScreensShapeAndClicksFollowIt) {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
    platform::testing::UiTestScope scope(platform::Size{375, 667});
    auto root = std::make_shared<TurningScreen>();
    auto window = platform::View::make<platform::Window>();
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    // A button pinned to the screen's right edge.
    auto button = platform::View::make<platform::Button>(platform::ButtonType::System);
    button->setFrame(platform::Rect{{315, 100}, {50, 40}});
    button->setAutoresizingMask(platform::AutoresizingMask::FlexibleLeftMargin);
    int taps = 0;
    button->addTarget([&](platform::Control&) { ++taps; }, platform::ControlEvent::TouchUpInside);
    root->view()->addSubview(button);

    auto desktop = std::make_unique<platform::desktop::DesktopWindow>(
        platform::Application::shared(), platform::desktop::DesktopWindowOptions{"campus", 1, {}});
    desktop->pump(std::chrono::milliseconds(0));
    EXPECT_EQ(desktop->pixels().pixelWidth(), 375);
    EXPECT_EQ(desktop->pixels().pixelHeight(), 667);

    platform::Device::current().setOrientation(platform::DeviceOrientation::LandscapeLeft);
    desktop->pump(std::chrono::milliseconds(0));
    EXPECT_EQ(desktop->pixels().pixelWidth(), 667);
    EXPECT_EQ(desktop->pixels().pixelHeight(), 375);
    // The button moved with the right edge, 292 points further right.
    desktop->postMouseButton(Point{340 + 292, 120}, true);
    desktop->postMouseButton(Point{340 + 292, 120}, false);
    desktop->pump(std::chrono::milliseconds(0));
    EXPECT_EQ(taps, 1);
    desktop.reset();
    window->setRootViewController(nullptr);
}

}  // namespace
