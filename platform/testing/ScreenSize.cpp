#include "platform/testing/ScreenSize.h"

#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace platform::testing {

const std::vector<PhoneScreen>& phoneScreens() {
    static const std::vector<PhoneScreen> screens{
        {"320x568", {320, 568}},
        {"375x667", {375, 667}},
        {"414x736", {414, 736}},
    };
    return screens;
}

void useScreen(double width, double height) {
    Screen& screen = Screen::main();
    screen.reset();
    // The size is the upright one; the interface keeps its orientation.
    screen.setSize(Size{width, height});
    if (auto window = Application::shared().keyWindow()) {
        window->setFrame(screen.bounds());
        window->setNeedsLayoutBelow();
    }
}

ScreenSize::ScreenSize(double width, double height)
    : m_previous(Screen::main().portraitSize()), m_previousScale(Screen::main().scale()) {
    useScreen(width, height);
}

ScreenSize::~ScreenSize() {
    useScreen(m_previous.width, m_previous.height);
    Screen::main().setScale(m_previousScale);
}

}  // namespace platform::testing
