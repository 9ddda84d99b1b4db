#pragma once

#include <string>

namespace platform::webkit {

// The X display GTK opens: the one the environment names (DISPLAY), else an Xvfb of our own on
// a free display number, started quietly, ended when the process ends (and by the kernel if the
// process dies first). Sets DISPLAY for GTK. Returns the display's name, or "" with the reason
// in `error`.
std::string ensureDisplay(std::string* error);

}  // namespace platform::webkit
