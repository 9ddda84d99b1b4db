#pragma once

#include <functional>
#include <string>

namespace platform {

enum class AlertActionStyle { Default, Cancel, Destructive };

// One button of an AlertController (the phone's UIAlertAction). The handler, if any, runs
// after the controller has been dismissed.
struct AlertAction {
    std::string title;
    AlertActionStyle style = AlertActionStyle::Default;
    std::function<void()> handler;
    bool enabled = true;
};

}  // namespace platform
