#pragma once

#include <functional>
#include <string>

#include "platform/webkit/WebEngine.h"

namespace platform::webkit {

// The process's engine, loaded the first time it is asked for (on the main thread, or by
// warmUp): null when it cannot run here, with the reason in loadError(), said once in the log.
Engine* engine();
const std::string& loadError();

// The screen's scale, for the engine's snapshots; before the engine loads (later, it stays).
void setDeviceScale(double scale);

// Loads the engine on a thread of the background pool, so that the first web view the user
// opens finds it ready. Harmless to call more than once.
void warmUp();

// Whether the engine has loaded (or failed to): engine() then answers at once.
bool isLoaded();
// Runs `done` on the main run loop once the engine has loaded (or failed to), loading it off
// the main thread when nobody has yet: a web view made before then waits without holding the
// main thread.
void whenLoaded(std::function<void()> done);

}  // namespace platform::webkit
