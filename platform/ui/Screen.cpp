#include "platform/ui/Screen.h"

#include "platform/ui/Application.h"

namespace platform {

Screen& Screen::main() {
    static Screen screen;
    return screen;
}

Rect Screen::applicationFrame() const {
    double statusBar = Application::shared().statusBarFrame().size.height;
    return Rect{{0, statusBar}, {m_size.width, m_size.height - statusBar}};
}

void Screen::reset() {
    m_size = {375, 667};
    m_scale = 2;
}

}  // namespace platform
