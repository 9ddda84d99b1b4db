#pragma once

#include <memory>
#include <string>

namespace platform::components {

class ProgressHUD;

// The second overlay library's one shared overlay: a spinner with a status line on the
// application's last window, shown until dismissed. There is only ever one; showing again
// changes its status. It lets touches through to the screen below, so the navigation bar's
// back button stays usable while a page loads. Main thread only.
class StatusHUD {
public:
    // Without any window nothing is shown.
    static void showWithStatus(const std::string& status);
    // Hides and removes the overlay; does nothing when none shows.
    static void dismiss();

    // The overlay while it shows, else null.
    static std::shared_ptr<ProgressHUD> current();
};

}  // namespace platform::components
