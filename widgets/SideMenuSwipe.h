#pragma once

// Screens switch the side menu's swipe on or off as they appear. The side-menu container is the
// key window's root (the application delegate keeps it there for the life of the process), so
// every screen reaches it through the window and needs nothing of the shell.
class SideMenuSwipe {
public:
    // Does nothing while no side-menu container is at the key window's root.
    static void setNeedSwipeShowMenu(bool need);
};
