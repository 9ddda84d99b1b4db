#pragma once

#include <string>

namespace platform::webkit {

// The X display GTK opens: the one the environment names (DISPLAY), else an Xvfb of our own on
// a free display number, started quietly and ended by the kernel when the calling thread ends
// (call it on a thread that lives as long as the process). Sets DISPLAY for GTK. Returns the
// display's name, or "" with the reason in `error`.
std::string ensureDisplay(std::string* error);

// Whether the display is the Xvfb ensureDisplay started (nobody sees it).
bool ownsDisplay();

}  // namespace platform::webkit
