#pragma once

// What the page guard (a web process extension, PageGuard.cpp) and the view's side of the
// module (KitView, KitContext) say to each other. Plain C values only: the guard is built
// without the rest of the tree.

namespace platform::webkit::guard {

// The initialisation data WebKit hands the guard in each web process it starts:
// (memory limit in MB, busy bound in ms), as a GVariant of this type.
inline constexpr const char* kInitType = "(tt)";

// Messages from a page's process to its view. Either asks the view to end the process; the
// guard sends each from the process's main thread, when that thread gets a turn.
// The process has kept a CPU busy past the bound. Parameters: (t) its CPU time in ms over it.
inline constexpr const char* kBusyMessage = "campus-busy";
// The process's own memory has passed the limit. Parameters: (t) its size in MB.
inline constexpr const char* kMemoryMessage = "campus-memory";

}  // namespace platform::webkit::guard
