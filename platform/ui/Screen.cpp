#include "platform/ui/Screen.h"

#include "platform/ui/Application.h"

namespace platform {

Screen& Screen::main() {
    static Screen screen;
    return screen;
}

InterfaceOrientation Screen::interfaceOrientation() const {
    return Application::shared().statusBarOrientation();
}

Size Screen::size() const {
    if (isLandscape(interfaceOrientation())) {
        return Size{m_size.height, m_size.width};
    }
    return m_size;
}

Rect Screen::applicationFrame() const {
    double statusBar = Application::shared().statusBarFrame().size.height;
    Size oriented = size();
    return Rect{{0, statusBar}, {oriented.width, oriented.height - statusBar}};
}

void Screen::reset() {
    m_size = {375, 667};
    m_scale = 2;
}

}  // namespace platform
