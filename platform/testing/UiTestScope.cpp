#include "platform/testing/UiTestScope.h"

#include "platform/devices/Devices.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Screen.h"

namespace platform::testing {

namespace {

void resetUi() {
    Keyboard::reset();
    AlertPresenter::shared().reset();
    Application::shared().reset();
    Screen::main().reset();
    resetDevices();
}

}  // namespace

UiTestScope::UiTestScope(Size screen, bool manualClock) : m_manualClock(manualClock) {
    if (manualClock) {
        RunLoop::main().useManualClock();
    }
    resetUi();
    useScreen(screen.width, screen.height);
}

UiTestScope::~UiTestScope() {
    resetUi();
    RunLoop::main().reset();
    if (m_manualClock) {
        RunLoop::main().useRealClock();
    }
}

void UiTestScope::advance(double seconds) {
    RunLoop::main().advance(platform::seconds(seconds));
}

}  // namespace platform::testing
