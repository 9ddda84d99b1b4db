#pragma once

// The career screens switch the side menu's swipe off as they appear. The side-menu container
// is the window's root (the application delegate keeps it there for the life of the process);
// the career screens reach it through the window so that they need nothing of the shell.
class CareerSideMenu {
public:
    // Does nothing while no side-menu container is at the key window's root.
    static void setNeedSwipeShowMenu(bool need);
};
