#pragma once

namespace platform {

// Puts every device stand-in back to its first state (authorisations not determined, no camera, no
// photo folder, a silent microphone, composer unavailable, nothing recorded, no replay). Stored
// contacts stay: they live in the data directory. For tests and the front end's fresh start.
void resetDevices();

}  // namespace platform
